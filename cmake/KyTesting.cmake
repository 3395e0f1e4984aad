# GoogleTest from the distribution's sources, built for the current target, and ky_add_gtest().
enable_testing()
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

set(KY_TEST_RESULTS ${CMAKE_BINARY_DIR}/test-results)
file(MAKE_DIRECTORY ${KY_TEST_RESULTS})

# ky_add_gtest(NAME name SOURCES ... [LIBS ...] [ENVIRONMENT k=v ...] [LABELS ...] [TIMEOUT s] [NO_MAIN])
# One ctest test per executable; the gtest XML report goes to test-results/<name>.xml,
# where scripts/test counts the cases. Windows executables run through the Wine wrapper.
function(ky_add_gtest)
  cmake_parse_arguments(T "NO_MAIN" "NAME;TIMEOUT" "SOURCES;LIBS;ENVIRONMENT;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_NO_MAIN)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest)
  else()
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  endif()
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  # gtest on Windows takes a path without a drive letter as relative: name the Unix root's drive.
  set(report ${KY_TEST_RESULTS}/${T_NAME}.xml)
  if(WIN32)
    set(report Z:${report})
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "GTEST_OUTPUT=xml:${report};KY_SOURCE_DIR=${CMAKE_SOURCE_DIR};KY_BINARY_DIR=${CMAKE_BINARY_DIR};${T_ENVIRONMENT}")
endfunction()
