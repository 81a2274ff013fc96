# The files step, deferred deletion and the restart offer. One program runs on the default version
# (MoveFileEx) and on emulated Windows 98 (WININIT.INI), NT 3.51 and Win32s (the zwininit list);
# every run changes files and the pending renames of its own throwaway prefix.
qu_wine_test(NAME files_removal SOURCES files/FileRemovalTest.cpp FRESH)
foreach(version win98 nt351 win31)
    add_test(NAME files_removal_${version} COMMAND files_removal)
    set_tests_properties(files_removal_${version} PROPERTIES
        ENVIRONMENT "${QU_WINE_ENV};QWINE_VERSION=${version};QWINE_FRESH=1" LABELS "wine")
endforeach()

# The one-pass walk against the name-by-name walks on a generated driver tree (see the program's
# header for the full-size run). The test runs a small tree: both must leave the same machine.
add_executable(files_bench files/FileSweepBench.cpp)
target_link_libraries(files_bench PRIVATE qu_win)
add_test(NAME files_bench_small COMMAND files_bench 200 30)
set_tests_properties(files_bench_small PROPERTIES ENVIRONMENT "${QU_WINE_ENV};QWINE_FRESH=1" LABELS "wine")
