# The companion spooler library QSPOOL01 and its strict test variant.
qu_wine_test(NAME access_exports SOURCES ${CMAKE_CURRENT_LIST_DIR}/access/ExportsTest.cpp LABELS access)

# The strict library, driven by its configuration; a fresh prefix, since it adds printers.
qu_wine_test_strict(NAME access_strict SOURCES ${CMAKE_CURRENT_LIST_DIR}/access/StrictSpoolerTest.cpp
    FRESH LABELS access)

# The tool refuses to start without QSPOOL01.DLL, as the Windows loader does, and starts with it
# (the spooler-restart mode, which ends without a window).
if(TARGET QUINST01)
    add_test(NAME access_requires_dll
        COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/access/requires-dll.sh ${PROJECT_SOURCE_DIR}/tools/wine-run.sh
            $<TARGET_FILE:QUINST01> $<TARGET_FILE:QSPOOL01> RestartSpooler)
    set_tests_properties(access_requires_dll PROPERTIES
        ENVIRONMENT "${QU_WINE_ENV};QWINE_FRESH=1" LABELS "wine;access")
endif()

# The same program as a Windows 98 program, for what depends on the emulated version.
add_test(NAME access_strict_win98 COMMAND access_strict "-tc=*Windows 9x*")
set_tests_properties(access_strict_win98 PROPERTIES
    ENVIRONMENT "${QU_WINE_ENV};QWINE_FRESH=1;QWINE_VERSION=win98" LABELS "wine;access;strict")
