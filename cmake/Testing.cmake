# GoogleTest: Debian's package natively, built from its sources for the Windows builds.
if(BUILD_TESTING)
  if(WIN32)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest_main)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
endif()

# printer_test(<name> SOURCES ... LIBS ...): one GoogleTest executable, one CTest test.
# Under Wine the executable runs through CMAKE_CROSSCOMPILING_EMULATOR; Wine tests run one at a time.
function(printer_test name)
  cmake_parse_arguments(PT "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${PT_SOURCES})
  target_link_libraries(${name} PRIVATE ${PT_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  if(WIN32)
    target_link_options(${name} PRIVATE -municode)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
endfunction()

# The Wine width of this build, and the wrapper that runs an exe in its prefix.
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(WINE_ARCH win64)
  else()
    set(WINE_ARCH win32)
  endif()
  set(WINE_RUN ${PROJECT_SOURCE_DIR}/cmake/wine-run ${WINE_ARCH})
endif()

# wine_script_test(<name> <script> [args...]): a shell check around Windows executables.
# The script gets WINE_RUN (the wrapper and width) in its environment.
function(wine_script_test name script)
  add_test(NAME ${name} COMMAND bash ${script} ${ARGN})
  set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 300
    ENVIRONMENT "WINE_RUN=${PROJECT_SOURCE_DIR}/cmake/wine-run ${WINE_ARCH};WINE_ARCH=${WINE_ARCH}")
endfunction()
