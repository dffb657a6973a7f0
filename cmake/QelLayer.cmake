# Helpers that turn a folder into a layer library or a test program.
# Sources are collected by glob, so adding a file needs no edit here.

function(qel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wcast-align -Wunused -Woverloaded-virtual
    -Wimplicit-fallthrough)
  if(QEL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# qel_sanitize(<target>): the sanitizer build's flags; the instrumented code
# runs at -O1.
function(qel_sanitize target)
  if(QEL_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer
      -fno-sanitize-recover=undefined)
    target_compile_options(${target} PRIVATE -O1)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# qel_layer(<target> [FLAT] DEPS <libs...>): a static library of every .cpp below
# the current folder (only the folder itself with FLAT), with the repository root
# on its include path.
function(qel_layer target)
  cmake_parse_arguments(L "FLAT" "" "DEPS" ${ARGN})
  if(L_FLAT)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  else()
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(${target} PUBLIC ${L_DEPS})
    qel_warnings(${target})
    qel_sanitize(${target})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(${target} INTERFACE ${L_DEPS})
  endif()
endfunction()

# qel_test(<target> [FLAT] DIR <folder> DEPS <libs...>): one GoogleTest program
# of every .cpp below the folder (only the folder itself with FLAT), registered
# test by test with CTest, or as QEL_CTEST_SHARDS shards of the whole program
# when that is above 0 (a process per test costs more than most tests do,
# above all under the sanitizers).
# Leak-check suppressions of the system libraries every test program shares.
set(QEL_TEST_LSAN_OPTIONS "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/fontconfig.lsan")

function(qel_test target)
  cmake_parse_arguments(T "FLAT" "DIR" "DEPS" ${ARGN})
  if(T_FLAT)
    file(GLOB sources CONFIGURE_DEPENDS ${T_DIR}/*.cpp)
  else()
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${T_DIR}/*.cpp)
  endif()
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${T_DEPS} qel_test_support GTest::gtest GTest::gtest_main)
  qel_warnings(${target})
  qel_sanitize(${target})
  # The test code itself needs no optimisation (the libraries under test keep
  # theirs); -O0 roughly halves the instrumented compile time of the tests.
  target_compile_options(${target} PRIVATE -O0)
  if(QEL_CTEST_SHARDS GREATER 0)
    math(EXPR last "${QEL_CTEST_SHARDS} - 1")
    foreach(shard RANGE ${last})
      add_test(NAME ${target}.${shard} COMMAND ${target} --gtest_brief=1)
      set_tests_properties(${target}.${shard} PROPERTIES ENVIRONMENT
        "QEL_TEST_BINARY_DIR=${PROJECT_BINARY_DIR};GTEST_TOTAL_SHARDS=${QEL_CTEST_SHARDS};GTEST_SHARD_INDEX=${shard};${QEL_TEST_LSAN_OPTIONS}")
    endforeach()
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QEL_TEST_BINARY_DIR=${PROJECT_BINARY_DIR};${QEL_TEST_LSAN_OPTIONS}")
  endif()
endfunction()
