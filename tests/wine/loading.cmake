# Spooler service control, the printer census and the loading sequence under Wine.
set(QU_LOADING_DIR ${CMAKE_CURRENT_SOURCE_DIR}/loading)

qu_wine_test(NAME loading_spooler_service SOURCES ${QU_LOADING_DIR}/SpoolerServiceTest.cpp FRESH)
# The same program on Windows 98, where services are left alone.
add_test(NAME loading_spooler_service_win98 COMMAND loading_spooler_service)
set_tests_properties(loading_spooler_service_win98 PROPERTIES LABELS "wine"
    ENVIRONMENT "${QU_WINE_ENV};QWINE_FRESH=1;QWINE_VERSION=win98")
