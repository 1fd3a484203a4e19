# GoogleTest from Debian's source copy, built with this tree's compiler and flags,
# so the Linux, sanitizer and Windows trees all test the same way.
set(BREL_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${BREL_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# brel_add_test(NAME <exe> SOURCES ... LIBS ... [THREADED <gtest filter>])
# Linux trees register every test case with ctest; the Windows tree registers one entry
# per executable, because each entry starts Wine and a start costs a second or two. In the
# thread-sanitizer tree only the THREADED cases are registered: the rest run on one thread and
# would only repeat the Linux tree's run there, many times slower.
function(brel_add_test)
  cmake_parse_arguments(T "" "NAME;THREADED" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} brel_flags GTest::gtest_main GTest::gmock)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 900)
  elseif(BREL_TSAN AND T_THREADED)
    gtest_discover_tests(${T_NAME} TEST_FILTER ${T_THREADED} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
  endif()
endfunction()
