# GoogleTest for the test programs: the installed one natively, compiled from
# Debian's source package for the cross builds.
if(CMAKE_CROSSCOMPILING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# kw_add_test(name [RECORDING_GL] SOURCES ... LIBRARIES ... PROPERTIES ...): a
# GoogleTest program whose cases ctest lists at test time, so cross builds never
# start Wine while compiling. RECORDING_GL links the recording OpenGL in place
# of the system one: on Windows its opengl32.dll goes beside the program and
# Wine is told to prefer it to its own.
function(kw_add_test name)
  cmake_parse_arguments(ARG "RECORDING_GL" "" "SOURCES;LIBRARIES;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  kw_target_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main)
  if(ARG_RECORDING_GL)
    target_link_libraries(${name} PRIVATE kw_recording_gl)
    if(WIN32)
      add_custom_command(TARGET ${name} POST_BUILD COMMAND ${CMAKE_COMMAND} -E copy_if_different
        $<TARGET_FILE:kw_recording_gl> $<TARGET_FILE_DIR:${name}>)
      list(APPEND ARG_PROPERTIES ENVIRONMENT KW_WINEDLLOVERRIDES=opengl32=n)
    endif()
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES ${ARG_PROPERTIES})
endfunction()
