# Warnings for the project's own code: on, and treated as errors. GCC 12 at
# -O3 reports overlapping copies and uninitialized members inside the
# standard library's string and vector code where there are none (GCC bugs
# 105329 and 105651); those two are off for that compiler's Release builds
# only, and every other build type still checks them.
function(kestro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>,$<CONFIG:Release>>:-Wno-restrict -Wno-maybe-uninitialized>)
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

# A GoogleTest binary with the shared test main; tests are listed when they run.
# Each binary names its own Qt platform, so that no test depends on the
# environment it was started in: offscreen by default, or for DISPLAY tests a
# real X server (the test script provides a virtual one), which then carry the
# label 'display' so that a run that skipped them shows it.
function(kestro_test name)
  cmake_parse_arguments(T "DISPLAY" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/TestMain.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock Qt6::Widgets)
  set(lock)
  if(T_DISPLAY)
    set(platform xcb)
    list(APPEND T_LABELS display)
    # They share one screen: windows and menus of one must not cover another's picture.
    # Mesa's software renderer draws in the test's own thread: its worker
    # threads, still winding down at exit, can crash the leak checker's
    # stop-the-world scan of a sanitized test that has passed.
    set(lock RESOURCE_LOCK x_screen ENVIRONMENT LP_NUM_THREADS=0)
  else()
    set(platform offscreen)
  endif()
  target_compile_definitions(${name} PRIVATE
    KESTRO_PROGRAM_DIR="${KESTRO_PROGRAM_DIR}"
    KESTRO_TEST_OUTPUT_DIR="${CMAKE_BINARY_DIR}/test-output"
    KESTRO_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    KESTRO_TEST_PLATFORM="${platform}")
  kestro_warnings(${name})
  # Listing the tests of a sanitized binary on a busy machine can take far
  # longer than the default five seconds.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS "${T_LABELS}" ${lock})
endfunction()
