# The spooler removal steps under Wine, with the strict library for job queues, connections,
# drivers in use, refusals and print-processor removal. One program; the runs below repeat it on
# the emulated Windows versions whose family changes what the steps do (cases of another family
# skip themselves).
if(COMMAND qu_wine_test_strict)
    set(QU_REMOVAL_DIR ${CMAKE_CURRENT_SOURCE_DIR}/removal)
    qu_wine_test_strict(NAME removal_spooler FRESH
        SOURCES ${QU_REMOVAL_DIR}/PrinterStepTest.cpp ${QU_REMOVAL_DIR}/SpoolerStepsTest.cpp
        LIBS QSPOOL01 winspool user32)
    set(QU_REMOVAL_RUNS
        win2k "-tc=NT family*,MakeDefaultPrinter*"
        win98 "-tc=Windows 9x*,MakeDefaultPrinter*,UniqueID*,drivers*,printers named*"
        win31 "-tc=MakeDefaultPrinter*")
    while(QU_REMOVAL_RUNS)
        list(POP_FRONT QU_REMOVAL_RUNS version filter)
        add_test(NAME removal_spooler_${version} COMMAND removal_spooler "${filter}")
        set_tests_properties(removal_spooler_${version} PROPERTIES LABELS "wine;strict"
            ENVIRONMENT "${QU_WINE_ENV};QWINE_FRESH=1;QWINE_VERSION=${version}")
    endwhile()
    # Printer names in the Cyrillic code page: Wine takes its ANSI code page from the locale.
    add_test(NAME removal_spooler_cyrillic COMMAND removal_spooler "-tc=printers named*")
    set_tests_properties(removal_spooler_cyrillic PROPERTIES LABELS "wine;strict"
        ENVIRONMENT "${QU_WINE_ENV};QWINE_FRESH=1;LANG=ru_RU.UTF-8;LC_ALL=ru_RU.UTF-8")
endif()

# The removal page's own steps: hook calls with the end-to-end harness's test hook, and the OEM
# path list from the registry. Both change the prefix, so the test gets a throwaway one.
qu_wine_test(NAME removal_page_steps FRESH SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/removal/HookCallsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/removal/OemPathCollectionTest.cpp)
add_dependencies(removal_page_steps qe2e_fake_hook)
