# GoogleTest: Debian's packaged library natively, Debian's source copy for MinGW builds.
option(PLOTGATE_TESTS "Build the tests" ON)
if(NOT PLOTGATE_TESTS)
  return()
endif()
enable_testing()

if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # Its own CMake file already defines the GTest:: aliases.
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()

# plotgate_test(NAME [OWN_DISPLAY] SOURCES... LIBS lib...): one test program, one ctest
# entry. Cross builds run it through CMAKE_CROSSCOMPILING_EMULATOR (Wine); OWN_DISPLAY runs
# a Windows test that creates windows on an X display of its own.
function(plotgate_test name)
  cmake_parse_arguments(T "OWN_DISPLAY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(T_OWN_DISPLAY)
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tests/win/with-own-display.sh
                                  ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "PLOTGATE_EXAMPLES=${PROJECT_SOURCE_DIR}/examples;PLOTGATE_TESTDATA=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()
