# The build stamp header for given SOURCE_DATE_EPOCH values: month abbreviation, day padded with a
# blank, year and time, in UTC; a value that is not a number stops the build.
#   cmake -DSCRIPT=cmake/BuildStamp.cmake -DWORK=folder -P BuildStampTest.cmake
set(cases
    "1154653883|Aug  4 2006 01:11:23"
    "1167004800|Dec 25 2006 00:00:00"
    "951868799|Feb 29 2000 23:59:59"
    "0|Jan  1 1970 00:00:00")
file(MAKE_DIRECTORY "${WORK}")
set(header "${WORK}/BuildStampText.h")
foreach(case ${cases})
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 epoch)
    list(GET parts 1 expected)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${epoch}
        ${CMAKE_COMMAND} -DOUTPUT=${header} -P ${SCRIPT} RESULT_VARIABLE result)
    file(READ "${header}" text)
    if(NOT result EQUAL 0 OR NOT text MATCHES "#define QU_BUILD_STAMP \"${expected}\"\n")
        message(SEND_ERROR "SOURCE_DATE_EPOCH=${epoch}: expected \"${expected}\", got:\n${text}")
    endif()
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=yesterday
    ${CMAKE_COMMAND} -DOUTPUT=${header} -P ${SCRIPT} RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(result EQUAL 0)
    message(SEND_ERROR "SOURCE_DATE_EPOCH=yesterday was accepted")
endif()
