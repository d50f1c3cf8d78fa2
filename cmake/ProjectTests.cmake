# add_project_test(<target>
#     SOURCES <files...>
#     [LIBRARIES <targets...>]      what the tests link besides the shared test support
#     [DEPENDS <targets...>]        built first (the component, loaded at run time)
#     [LABELS <labels...>]          default: unit
#     [PREFIX <text>]               put before every discovered test's name
#     [WINDOW_MANAGER <test name>]) run whole, as one CTest test of that name, under Xvfb
#                                   with openbox
#
# One test executable with the project's test main (private XDG folders, C locale, offscreen
# platform) and the platform's fakes.
set(PROJECT_TESTS_WM_RUNNER ${PROJECT_SOURCE_DIR}/veltrano/tests/x11/run-with-wm.sh)

function(add_project_test target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "PREFIX;WINDOW_MANAGER"
                          "SOURCES;LIBRARIES;DEPENDS;LABELS")
    if(arg_UNPARSED_ARGUMENTS OR NOT arg_SOURCES)
        message(FATAL_ERROR "add_project_test(${target}): bad arguments ${arg_UNPARSED_ARGUMENTS}")
    endif()
    add_executable(${target} ${arg_SOURCES})
    target_link_libraries(${target} PRIVATE test_support ${arg_LIBRARIES})
    # Golden files (support/golden.h) live in data/ beside the test's CMakeLists.txt.
    target_compile_definitions(${target} PRIVATE TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
    veltrano_precompile(${target} <gtest/gtest.h>)
    if(arg_DEPENDS)
        add_dependencies(${target} ${arg_DEPENDS})
    endif()
    if(arg_WINDOW_MANAGER)
        if(NOT arg_LABELS)
            set(arg_LABELS x11)
        endif()
        add_test(NAME ${arg_WINDOW_MANAGER}
                 COMMAND ${PROJECT_TESTS_WM_RUNNER} $<TARGET_FILE:${target}>)
        # One X server and window manager at a time: focus and stacking are what is tested.
        set_tests_properties(${arg_WINDOW_MANAGER} PROPERTIES
                             LABELS "${arg_LABELS}" TIMEOUT 180 RUN_SERIAL TRUE)
        return()
    endif()
    if(NOT arg_LABELS)
        set(arg_LABELS unit)
    endif()
    # A case that hangs fails the run instead of holding it up.
    gtest_discover_tests(${target} TEST_PREFIX "${arg_PREFIX}"
                         PROPERTIES LABELS "${arg_LABELS}" TIMEOUT 120 DISCOVERY_TIMEOUT 60)
endfunction()
