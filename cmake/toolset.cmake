# Helpers shared by every folder: unit tests and benchmarks.
include(GoogleTest)

# tx_add_test(NAME name SOURCES src... [LIBS lib...])
# Builds a GoogleTest executable (gtest_main, gmock and the helpers of
# common/testing linked in) in the current binary folder and registers
# each of its tests with CTest as "<name>.<Suite>.<Test>" (a cross build
# registers the whole program once, as "<name>"). Tests run in the current
# binary folder; the macro TX_TEST_SOURCE_DIR holds the folder of the
# calling CMakeLists.txt, so a test can find its testdata/.
function(tx_add_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_NAME OR NOT ARG_SOURCES)
    message(FATAL_ERROR "tx_add_test needs NAME and SOURCES")
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} tx_testing GTest::gmock GTest::gtest_main)
  target_compile_definitions(${ARG_NAME} PRIVATE TX_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
  set_target_properties(${ARG_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(CMAKE_CROSSCOMPILING)
    # Each start of the emulator costs seconds: one CTest test runs all cases of the program.
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    return()
  endif()
  gtest_discover_tests(${ARG_NAME}
    TEST_PREFIX "${ARG_NAME}."
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# tx_add_benchmark(NAME name SOURCES src... [LIBS lib...])
# Builds a Google Benchmark program into build/bench. It is not a CTest
# test; the "benchmarks" target (bench/CMakeLists.txt) builds them all.
# Does nothing when Google Benchmark was not found.
function(tx_add_benchmark)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_NAME OR NOT ARG_SOURCES)
    message(FATAL_ERROR "tx_add_benchmark needs NAME and SOURCES")
  endif()
  if(NOT TARGET benchmark::benchmark)
    return()
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  set_target_properties(${ARG_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  if(TARGET benchmarks)
    add_dependencies(benchmarks ${ARG_NAME})
  endif()
endfunction()

# A program of bench/ that is not a Google Benchmark (a data generator, a whole program to time):
# built into build/bench with the benchmarks.
function(tx_add_bench_program)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS})
  set_target_properties(${ARG_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  if(TARGET benchmarks)
    add_dependencies(benchmarks ${ARG_NAME})
  endif()
endfunction()
