# The setup launcher under Wine. Its tests link only the launcher's own code (it shares nothing with
# the uninstall tool), and every run gets a throwaway prefix: they change the Windows INF folder and
# the Start menu.
set(LAUNCHER_TEST_DIR ${CMAKE_CURRENT_SOURCE_DIR}/launcher)

# The stand-in installer and the launcher copies with test string tables, all beside the tests.
add_executable(launcher_fake_setup WIN32 ${LAUNCHER_TEST_DIR}/FakeSetup.cpp)
foreach(variant A B C)
    qu_launcher_program(SETUPGATE_TEST_${variant} ${LAUNCHER_TEST_DIR}/SETUPGATE_TEST_${variant}.rc)
endforeach()

function(launcher_test_program name)
    add_executable(${name} ${ARGN} ${LAUNCHER_TEST_DIR}/LauncherTestSupport.cpp)
    target_link_libraries(${name} PRIVATE qu_launcher qu_doctest)
    add_dependencies(${name} SETUPGATE SETUPGATE_TEST_A SETUPGATE_TEST_B SETUPGATE_TEST_C launcher_fake_setup)
endfunction()

function(launcher_test name program)
    cmake_parse_arguments(T "" "" "ENV;ARGS" ${ARGN})
    add_test(NAME ${name} COMMAND ${program} ${T_ARGS})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${QU_WINE_ENV};QWINE_FRESH=1;${T_ENV}" LABELS "wine;launcher")
endfunction()

launcher_test_program(launcher_jobs ${LAUNCHER_TEST_DIR}/LauncherJobsTest.cpp ${LAUNCHER_TEST_DIR}/LauncherJobsTest.rc)
launcher_test(launcher_jobs launcher_jobs)
launcher_test(launcher_jobs_win98 launcher_jobs ARGS "--test-case=Programs folder*" ENV QWINE_VERSION=win98)

launcher_test_program(launcher_setupgate ${LAUNCHER_TEST_DIR}/SetupGateRunTest.cpp)
launcher_test(launcher_setupgate launcher_setupgate)

# Wine takes its ANSI code page from the Unix locale variables; the locale need not be installed.
launcher_test_program(launcher_shortcuts ${LAUNCHER_TEST_DIR}/SetupGateShortcutTest.cpp)
launcher_test(launcher_shortcuts_cyrillic launcher_shortcuts ENV LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8)
launcher_test(launcher_shortcuts_western launcher_shortcuts ENV LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8)
