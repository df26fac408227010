# Runs the real program's command line and compares what it prints with a checked-in file:
#   cmake -DPROGRAM=... -DARGS=a;b;c -DEXPECTED=file [-DCODE=n] [-DSTREAM=stdout|stderr]
#         -P commandline.cmake
if(NOT DEFINED CODE)
  set(CODE 0)
endif()
if(NOT DEFINED STREAM)
  set(STREAM stdout)
endif()
execute_process(COMMAND ${PROGRAM} ${ARGS} OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE code)
if(NOT code EQUAL CODE)
  message(FATAL_ERROR "exit code ${code}, expected ${CODE}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(STREAM STREQUAL "stderr")
  # A sanitizer build reports the third-party leaks it was told to ignore after the message.
  string(REGEX REPLACE "-+\nSuppressions used:.*$" "" out "${err}")
endif()
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "${STREAM} differs from ${EXPECTED}:\n${out}")
endif()
