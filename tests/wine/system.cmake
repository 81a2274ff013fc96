# INI, log-on and registry entries, shortcuts and Program Manager items under Wine.
# The steps' file deletion is replaced by SystemTestSupport.cpp, so the shortcut tests see every
# path the step hands over. The program runs on the default version (NT family), on Windows 98 and
# on Win32s; each case checks the family it is about.
set(QU_SYSTEM_DIR ${CMAKE_CURRENT_SOURCE_DIR}/system)
qu_wine_test(NAME system_entries FRESH SOURCES
    ${QU_SYSTEM_DIR}/SystemTestSupport.cpp
    ${QU_SYSTEM_DIR}/IniEntriesTest.cpp
    ${QU_SYSTEM_DIR}/LoadRunTest.cpp
    ${QU_SYSTEM_DIR}/RegistryEntriesTest.cpp
    ${QU_SYSTEM_DIR}/ShortcutsTest.cpp
    ${QU_SYSTEM_DIR}/ProgramManagerTest.cpp
    ${QU_SYSTEM_DIR}/SystemTest.rc
    ${QU_SYSTEM_DIR}/main.cpp)
foreach(version win98 win31)
    add_test(NAME system_entries_${version} COMMAND system_entries)
    set_tests_properties(system_entries_${version} PROPERTIES
        ENVIRONMENT "${QU_WINE_ENV};QWINE_VERSION=${version};QWINE_FRESH=1" LABELS "wine")
endforeach()
