# Runs one GoogleTest program, under the cross-compiling emulator when there
# is one, and fails unless it ended with status 0 after printing its runner's
# summary with no failed test: a program that crashed, or that ended with
# status 0 before its summary, never passes.
#
#   cmake -DPROGRAM=FILE [-DEMULATOR=RUNNER] [-DARGS=ARG] -P run_test_program.cmake
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGS}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output
    ECHO_OUTPUT_VARIABLE ECHO_ERROR_VARIABLE)
set(problems "")
if(NOT status STREQUAL "0")
    list(APPEND problems "ended with status ${status}")
endif()
if(NOT output MATCHES "\\[  PASSED  \\] [0-9]+ tests?\\.")
    list(APPEND problems "printed no GoogleTest summary")
endif()
if(output MATCHES "\\[  FAILED  \\]")
    list(APPEND problems "reported a failed test")
endif()
if(problems)
    string(REPLACE ";" ", " problems "${problems}")
    # Printed as it is (a fatal error's text would be wrapped) for the tests
    # that check why a program failed.
    message(NOTICE "run_test_program: the program ${problems}")
    message(FATAL_ERROR "test program failed")
endif()
