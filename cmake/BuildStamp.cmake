# Writes the program's build stamp into a header:
#   #define QU_BUILD_STAMP "Aug  4 2006 01:11:23"
# the date as month abbreviation, day padded to two places with a blank, and year, then the time,
# all in UTC. The moment is SOURCE_DATE_EPOCH when that is set (the reproducible-builds convention),
# else the time of the source tree's last commit, so that two builds of one commit are the same
# program. Outside a git checkout an existing header is kept, or the current time starts one.
# The header is rewritten only when its text changes, so an unchanged stamp rebuilds nothing.
#
#   cmake -DOUTPUT=header [-DSOURCE_DIR=dir] -P BuildStamp.cmake
if(NOT OUTPUT)
    message(FATAL_ERROR "usage: cmake -DOUTPUT=header [-DSOURCE_DIR=dir] -P BuildStamp.cmake")
endif()

set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(NOT epoch STREQUAL "")
    if(NOT epoch MATCHES "^[0-9]+$")
        message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: '${epoch}'")
    endif()
elseif(SOURCE_DIR)
    execute_process(COMMAND git -C "${SOURCE_DIR}" log -1 --format=%ct
        OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE result)
    if(NOT result EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
        set(epoch "")
    endif()
endif()
if(epoch STREQUAL "")
    if(EXISTS "${OUTPUT}")
        return()
    endif()
    string(TIMESTAMP epoch "%s" UTC)
endif()

# string(TIMESTAMP) reads the moment from SOURCE_DATE_EPOCH.
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
string(TIMESTAMP month "%m" UTC)
string(TIMESTAMP day "%d" UTC)
string(TIMESTAMP rest "%Y %H:%M:%S" UTC)
# Month names are spelled here: they must not follow the build machine's language.
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
string(REGEX REPLACE "^0" "" month "${month}")
math(EXPR month "${month} - 1")
list(GET months ${month} month)
string(REGEX REPLACE "^0" " " day "${day}")

set(text "// Written by cmake/BuildStamp.cmake.\n#define QU_BUILD_STAMP \"${month} ${day} ${rest}\"\n")
set(old "")
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
    file(WRITE "${OUTPUT}" "${text}")
endif()
