# The main dialog and the selection page under Wine, on the program's own templates. The pages
# open windows and the menu test writes HKEY_CURRENT_USER, so the test gets a throwaway prefix.
set(QU_UI_DIR ${CMAKE_CURRENT_SOURCE_DIR}/ui)
qu_wine_test(NAME ui_pages FRESH SOURCES
    ${QU_UI_DIR}/UiFixture.cpp
    ${QU_UI_DIR}/SelectPageTest.cpp
    ${QU_UI_DIR}/MainFlowTest.cpp
    ${QU_UI_DIR}/DiagnosticsTest.cpp
    ${CMAKE_SOURCE_DIR}/uninstall/res/QUINST01.rc
    LIBS comctl32 gdi32 user32 advapi32)
target_include_directories(ui_pages PRIVATE ${QU_UI_DIR})

# Not a test: shows the loading window and the selection page for tools/ui-screenshots.sh.
add_executable(ui_show_pages ${QU_UI_DIR}/ShowPages.cpp ${QU_UI_DIR}/UiFixture.cpp
    ${CMAKE_SOURCE_DIR}/uninstall/res/QUINST01.rc)
target_include_directories(ui_show_pages PRIVATE ${QU_UI_DIR})
target_link_libraries(ui_show_pages PRIVATE qu_win comctl32 gdi32 user32 advapi32)
