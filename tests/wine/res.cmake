# The uninstall tool's resources under Wine. The test program links the same .rc as QUINST01.EXE
# and compares its resources with the program's when that is built.
set(QU_RES_RC ${CMAKE_SOURCE_DIR}/uninstall/res/QUINST01.rc)
get_property(QU_RES_FILES GLOBAL PROPERTY QU_TOOL_RESOURCE_FILES)
set_source_files_properties(${QU_RES_RC} PROPERTIES OBJECT_DEPENDS "${QU_RES_FILES}")

qu_wine_test(NAME res_resources SOURCES res/ResourceTest.cpp ${QU_RES_RC}
    LIBS comctl32 version gdi32 user32 FRESH)
if(TARGET QUINST01)
    add_dependencies(res_resources QUINST01)
endif()

# Not a test: shows each dialog for tools/res-screenshots.sh.
add_executable(res_show_dialogs res/ShowDialogs.cpp ${QU_RES_RC})
target_include_directories(res_show_dialogs PRIVATE ${CMAKE_SOURCE_DIR}/uninstall/res)
target_link_libraries(res_show_dialogs PRIVATE comctl32 gdi32 user32)
