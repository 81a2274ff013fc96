# Spooler service control, the printer census and the loading sequence under Wine.
set(QU_LOADING_DIR ${CMAKE_CURRENT_SOURCE_DIR}/loading)

qu_wine_test(NAME loading_spooler_service SOURCES ${QU_LOADING_DIR}/SpoolerServiceTest.cpp FRESH)
# The same program on Windows 98, where services are left alone.
add_test(NAME loading_spooler_service_win98 COMMAND loading_spooler_service)
set_tests_properties(loading_spooler_service_win98 PROPERTIES LABELS "wine"
    ENVIRONMENT "${QU_WINE_ENV};QWINE_FRESH=1;QWINE_VERSION=win98")

# The census against Wine's own spooler; the spooler test functions that the tool itself never
# calls (adding drivers and printers) come from winspool, after the companion library.
qu_wine_test(NAME loading_census SOURCES ${QU_LOADING_DIR}/CensusTest.cpp LIBS QSPOOL01 winspool FRESH)
foreach(version win98 win31)
    add_test(NAME loading_census_${version} COMMAND loading_census)
    set_tests_properties(loading_census_${version} PROPERTIES LABELS "wine"
        ENVIRONMENT "${QU_WINE_ENV};QWINE_FRESH=1;QWINE_VERSION=${version}")
endforeach()
# Printer names in the Cyrillic code page: Wine takes its ANSI code page from the locale.
add_test(NAME loading_census_cyrillic COMMAND loading_census)
set_tests_properties(loading_census_cyrillic PROPERTIES LABELS "wine"
    ENVIRONMENT "${QU_WINE_ENV};QWINE_FRESH=1;LANG=ru_RU.UTF-8;LC_ALL=ru_RU.UTF-8")

# The census when the spooler fails, and with a print-server printer, through the strict library.
if(COMMAND qu_wine_test_strict)
    qu_wine_test_strict(NAME loading_census_strict SOURCES ${QU_LOADING_DIR}/CensusStrictTest.cpp
        LIBS QSPOOL01 winspool FRESH)
endif()

# The loading window run modally without the main dialog, one scenario per process (the loading
# counters are process-wide). The scenarios that put a script beside the program share its folder.
if(COMMAND qu_wine_test_strict)
    set(QU_LOADING_RC ${CMAKE_SOURCE_DIR}/uninstall/res/QUINST01.rc)
    get_property(QU_LOADING_RES_FILES GLOBAL PROPERTY QU_TOOL_RESOURCE_FILES)
    set_source_files_properties(${QU_LOADING_RC} PROPERTIES OBJECT_DEPENDS "${QU_LOADING_RES_FILES}")
    qu_wine_test_strict(NAME loading_dialog SOURCES ${QU_LOADING_DIR}/LoadingDlgTest.cpp ${QU_LOADING_RC}
        LIBS QSPOOL01 winspool comctl32 FRESH ENV QU_LOADING_CASE=order)
    foreach(scenario retry-partial scripts noscripts stop-declined stop-confirmed spooler-down)
        add_test(NAME loading_dialog_${scenario} COMMAND loading_dialog)
        set_tests_properties(loading_dialog_${scenario} PROPERTIES LABELS "wine"
            ENVIRONMENT "${QU_WINE_ENV};QWINE_FRESH=1;QU_LOADING_CASE=${scenario}")
    endforeach()
    set_tests_properties(loading_dialog loading_dialog_scripts loading_dialog_noscripts
        PROPERTIES RESOURCE_LOCK loading_program_directory)
endif()
