# The files step, deferred deletion and the restart offer. One program runs on the default version
# (MoveFileEx) and on emulated Windows 98 (WININIT.INI), NT 3.51 and Win32s (the zwininit list);
# every run changes files and the pending renames of its own throwaway prefix.
qu_wine_test(NAME files_removal SOURCES files/FileRemovalTest.cpp FRESH)
foreach(version win98 nt351 win31)
    add_test(NAME files_removal_${version} COMMAND files_removal)
    set_tests_properties(files_removal_${version} PROPERTIES
        ENVIRONMENT "${QU_WINE_ENV};QWINE_VERSION=${version};QWINE_FRESH=1" LABELS "wine")
endforeach()
