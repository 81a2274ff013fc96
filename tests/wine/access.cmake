# The companion spooler library QSPOOL01 and its strict test variant.
qu_wine_test(NAME access_exports SOURCES ${CMAKE_CURRENT_LIST_DIR}/access/ExportsTest.cpp LABELS access)

# The strict library, driven by its configuration; a fresh prefix, since it adds printers.
qu_wine_test_strict(NAME access_strict SOURCES ${CMAKE_CURRENT_LIST_DIR}/access/StrictSpoolerTest.cpp
    FRESH LABELS access)
