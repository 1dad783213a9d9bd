# portprobe_add_test(NAME SOURCES src... LIBS lib... [GUI] [LAUNCHER program])
# One test executable per module, run by CTest. GUI tests get the offscreen platform
# and a main() that creates the application object. With PORTPROBE_VALGRIND each runs
# under valgrind memcheck, which fails it on any error or definite leak. A LAUNCHER
# (umockdev-wrapper) runs the test, valgrind included, in the environment it sets up.
function(portprobe_add_test name)
  cmake_parse_arguments(ARG "GUI" "LAUNCHER" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_GUI)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/gui_test_main.cpp)
    target_link_libraries(${name} PRIVATE GTest::gtest Qt6::Widgets)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest Threads::Threads)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set(timeout 300)
  if(WIN32)
    # Named as a target, so that CTest runs it through the Wine wrapper.
    add_test(NAME ${name} COMMAND ${name})
  elseif(PORTPROBE_VALGRIND)
    add_test(NAME ${name} COMMAND ${ARG_LAUNCHER} valgrind --quiet --error-exitcode=99 --leak-check=full
             --errors-for-leak-kinds=definite --show-leak-kinds=definite --num-callers=30
             --suppressions=${PROJECT_SOURCE_DIR}/tests/valgrind.supp $<TARGET_FILE:${name}>)
    set(timeout 3600)
  else()
    add_test(NAME ${name} COMMAND ${ARG_LAUNCHER} $<TARGET_FILE:${name}>)
  endif()
  # A test that forgets its own state folder writes into the build tree, not the user's.
  set(env "PORTPROBE_TEST_TMP=${CMAKE_CURRENT_BINARY_DIR}" "XDG_STATE_HOME=${CMAKE_CURRENT_BINARY_DIR}/state")
  if(WIN32)
    # Wine shows the Linux root as drive Z:.
    set(env "PORTPROBE_TEST_TMP=Z:${CMAKE_CURRENT_BINARY_DIR}" "LOCALAPPDATA=Z:${CMAKE_CURRENT_BINARY_DIR}/state")
  endif()
  if(PORTPROBE_VALGRIND)
    list(APPEND env "PORTPROBE_UNDER_VALGRIND=1")
  endif()
  if(ARG_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
    set_tests_properties(${name} PROPERTIES LABELS gui)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${timeout})
  if(ARG_LAUNCHER AND PORTPROBE_SANITIZE)
    # The launcher preloads a library ahead of the sanitizer's runtime, which does not
    # replace malloc, so the order does not matter.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT_MODIFICATION
                         "ASAN_OPTIONS=string_append::verify_asan_link_order=0")
  endif()
endfunction()
