# Sourced by the project's commands, with $root the project folder: BUILD_DIR becomes the
# absolute build folder (default build; a relative one is taken from the project folder)
# and is exported to the scripts they call.
BUILD_DIR=${BUILD_DIR:-$root/build}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$root/$BUILD_DIR" ;; esac
export BUILD_DIR
