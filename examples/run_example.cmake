# Runs one example program in a fresh folder and compares what it prints
# with the expected files, so the examples (and the README that shows them)
# cannot drift from what the library does.
#   PROGRAM       the example's executable
#   ARGS          its arguments, separated by "|"
#   WORKDIR       a folder made empty for the run
#   EXPECTED      the expected standard output
#   EXPECTED_ERR  the expected standard error (optional; otherwise ignored)
#   EXPECTED_RC   the expected exit status (default 0)
#   CREATES       a file the run must leave in WORKDIR (optional)
file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
string(REPLACE "|" ";" args "${ARGS}")
unset(ENV{CMNW32_INI})
execute_process(COMMAND "${PROGRAM}" ${args} WORKING_DIRECTORY "${WORKDIR}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT DEFINED EXPECTED_RC)
  set(EXPECTED_RC 0)
endif()
if(NOT rc STREQUAL EXPECTED_RC)
  message(FATAL_ERROR "exit status ${rc}, expected ${EXPECTED_RC}\nstderr:\n${err}")
endif()
file(READ "${EXPECTED}" want)
if(NOT out STREQUAL want)
  message(FATAL_ERROR "standard output differs from ${EXPECTED}:\n--- got\n${out}--- expected\n${want}")
endif()
if(EXPECTED_ERR)
  file(READ "${EXPECTED_ERR}" wantErr)
  if(NOT err STREQUAL wantErr)
    message(FATAL_ERROR "standard error differs from ${EXPECTED_ERR}:\n--- got\n${err}--- expected\n${wantErr}")
  endif()
endif()
if(CREATES AND NOT EXISTS "${WORKDIR}/${CREATES}")
  message(FATAL_ERROR "the run left no ${CREATES}")
endif()
