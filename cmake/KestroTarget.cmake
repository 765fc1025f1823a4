# Warnings for the project's own code: on, and treated as errors.
function(kestro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# A headless library of one subsystem.
function(kestro_library name)
  set(sources ${ARGN})
  if(NOT sources)
    # A subsystem whose first source has not arrived yet still links.
    set(sources ${PROJECT_SOURCE_DIR}/cmake/Empty.cpp)
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  kestro_warnings(${name})
endfunction()

# A GoogleTest binary; tests are listed when they run, since some need a QApplication.
# DISPLAY tests run on a real X server (the test script provides a virtual one)
# and carry the label 'display', so a run that skipped them shows it.
function(kestro_test name)
  cmake_parse_arguments(T "DISPLAY" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    KESTRO_PROGRAM_DIR="${KESTRO_PROGRAM_DIR}"
    KESTRO_TEST_OUTPUT_DIR="${CMAKE_BINARY_DIR}/test-output")
  kestro_warnings(${name})
  if(T_DISPLAY)
    set(platform xcb)
    list(APPEND T_LABELS display)
  else()
    set(platform offscreen)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "QT_QPA_PLATFORM=${platform}")
endfunction()
