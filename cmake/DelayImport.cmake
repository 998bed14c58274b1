# lorvane_delay_import(<target> <def file>): an import library, <target>, for the
# functions the .def file lists, that loads their DLL on the first call to one of them
# instead of at process start. For DLLs the program needs only now and then (sound
# output, the shell): each one loaded at start-up costs its initialisation there.
# Link the target before anything that would pull in the DLL's ordinary import library.
find_program(LORVANE_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)

function(lorvane_delay_import target def)
  get_filename_component(def "${def}" ABSOLUTE)
  set(lib "${CMAKE_CURRENT_BINARY_DIR}/lib${target}.a")
  file(STRINGS "${def}" library REGEX "^LIBRARY ")
  string(REGEX REPLACE "^LIBRARY +" "" dll "${library}")
  add_custom_command(OUTPUT "${lib}"
    COMMAND ${LORVANE_DLLTOOL} --input-def "${def}" --dllname "${dll}" --output-delaylib "${lib}"
    DEPENDS "${def}"
    COMMENT "Delay-loaded import library for ${dll}")
  add_custom_target(${target}_lib DEPENDS "${lib}")
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION "${lib}")
  add_dependencies(${target} ${target}_lib)
endfunction()
