# Well-known locations, OEM paths and helper programs under Wine.

# One program resolves every location; it runs on the default version and on emulated Windows 98,
# NT 4 and Win32s. Emulated versions are set per prefix, so those runs get throwaway prefixes.
qu_wine_test(NAME locations_resolve SOURCES locations/ResolveLocationTest.cpp locations/FileProbeTest.cpp)
foreach(version win98 nt40 win31)
    add_test(NAME locations_resolve_${version} COMMAND locations_resolve)
    set_tests_properties(locations_resolve_${version} PROPERTIES
        ENVIRONMENT "${QU_WINE_ENV};QWINE_VERSION=${version};QWINE_FRESH=1" LABELS "wine")
endforeach()

qu_wine_test(NAME locations_oempaths SOURCES locations/OemPathsTest.cpp FRESH)

add_executable(locations_recorder locations/Recorder.cpp)
qu_wine_test(NAME locations_helper SOURCES locations/HelperProgramTest.cpp)
add_dependencies(locations_helper locations_recorder)

# The script search and loading over real files in the driver, "3", program and system directories.
qu_wine_test(NAME locations_scripts SOURCES locations/ScriptSearchTest.cpp FRESH)

# A shell folder path too long for its closing backslash, set up in the user's shell folders.
qu_wine_test(NAME locations_long_shell SOURCES locations/LongShellFolderTest.cpp FRESH)
