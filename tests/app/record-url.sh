#!/bin/sh
# Stands in for the web browser in the app tests: Wine's browser setting names this
# script and a log file; every address the shell opens is appended to that log.
log=$1
shift
printf '%s\n' "$*" >> "$log"
