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

# plotgate_test(NAME SOURCES... LIBS lib...): one test program, one ctest entry.
# Cross builds run it through CMAKE_CROSSCOMPILING_EMULATOR (Wine).
function(plotgate_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
endfunction()
