# The removal page's own steps under Wine: hook calls with the end-to-end harness's test hook, and
# the OEM path list from the registry. Both change the prefix, so the test gets a throwaway one.
qu_wine_test(NAME removal_steps FRESH SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/removal/HookCallsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/removal/OemPathCollectionTest.cpp)
add_dependencies(removal_steps qe2e_fake_hook)
