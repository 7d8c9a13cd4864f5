# GoogleTest for both builds: the system's prebuilt library natively, the
# sources in /usr/src/googletest for the cross build.
if(WIN32)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_library(tovra_gtest_main INTERFACE)
  target_link_libraries(tovra_gtest_main INTERFACE gtest gtest_main)
else()
  find_package(GTest REQUIRED)
  add_library(tovra_gtest_main INTERFACE)
  target_link_libraries(tovra_gtest_main INTERFACE GTest::gtest GTest::gtest_main)
endif()

# tovra_add_gtest(name SOURCES a.cpp ... LIBS lib ...)
# One GoogleTest executable registered as one CTest test. In the cross build
# the emulator (wine) runs it.
function(tovra_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tovra_gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
