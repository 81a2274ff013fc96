# The files of the unattended modes under Wine: the action log and the report.
qu_wine_test(NAME unattended_files SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/unattended/LogAndReportFilesTest.cpp)
