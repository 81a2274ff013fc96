# Entry, dialog framework and version record of the uninstall tool under Wine.
set(QU_SHELL_DIR ${CMAKE_CURRENT_SOURCE_DIR}/shell)

# Framework pieces on real windows, with the program's own string table and dialog. It writes INI
# files into the Windows directory and opens windows, so it gets a throwaway prefix.
qu_wine_test(NAME shell_framework FRESH SOURCES
    ${QU_SHELL_DIR}/DialogFrameworkTest.cpp
    ${QU_SHELL_DIR}/StringRingTest.cpp
    ${QU_SHELL_DIR}/ListViewCtlTest.cpp
    ${QU_SHELL_DIR}/OSInfoTest.cpp
    ${QU_SHELL_DIR}/FrameworkTest.rc)
target_include_directories(shell_framework PRIVATE ${QU_SHELL_DIR})

# The built program and a probe program as child processes: the restart mode, the single-instance
# start and the version and administrator answers on emulated Windows versions.
add_executable(shell_probe ${QU_SHELL_DIR}/ShellProbe.cpp)
target_link_libraries(shell_probe PRIVATE qu_win)
qu_wine_test(NAME shell_entry FRESH SOURCES ${QU_SHELL_DIR}/EntryTest.cpp)
add_dependencies(shell_entry shell_probe)
if(TARGET QUINST01)
    add_dependencies(shell_entry QUINST01)
endif()
