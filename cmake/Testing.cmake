# GoogleTest natively only: it needs std::mutex, which MinGW's win32 thread model lacks, so the
# Wine test programs share the small checker in tests/support/wine_check.h.
if(BUILD_TESTING AND NOT WIN32)
  find_package(GTest REQUIRED)
endif()

# printer_test(<name> SOURCES ... LIBS ...): one native GoogleTest executable, one CTest test.
function(printer_test name)
  cmake_parse_arguments(PT "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${PT_SOURCES})
  target_link_libraries(${name} PRIVATE ${PT_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
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

# subsystem_tests(<sub> LIBS ...): natively, every *_test.cpp of the folder in one executable;
# on Windows, the folder's wine/ subdirectory when it exists. EXTRA_SOURCES: other folders' fakes.
function(subsystem_tests sub)
  cmake_parse_arguments(ST "" "" "LIBS;EXTRA_SOURCES" ${ARGN})
  if(WIN32)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/wine/CMakeLists.txt)
      add_subdirectory(wine)
    endif()
  else()
    file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/fake_*.cpp)
    if(test_sources)
      printer_test(${sub}_tests SOURCES ${test_sources} ${ST_EXTRA_SOURCES} LIBS ${ST_LIBS})
    endif()
  endif()
endfunction()
