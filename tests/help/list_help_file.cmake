# Prints what chmls reads from a compiled help file: its #SYSTEM entries
# (language, default topic) and then its directory, each file with its size.
# The test around it judges the output. chmls ends some texts with a zero
# byte, which would end the output for ctest's pattern; execute_process drops
# such bytes from what it captures.
#   cmake -DCHMLS=... -DCHM=... -P list_help_file.cmake
foreach(command printsystem list)
    execute_process(COMMAND ${CHMLS} -p ${command} ${CHM}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "chmls ${command} ${CHM} failed (${status}):\n${err}")
    endif()
    message("${out}")
endforeach()
