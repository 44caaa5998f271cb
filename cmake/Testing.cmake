# GoogleTest natively only: it needs std::mutex, which MinGW's win32 thread model lacks, so the
# Wine suites use small checkers of their own.
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

# subsystem_libraries(<sub> DEPS ...): <sub>_core from the folder's *.cpp (platform-free) and,
# on Windows, <sub>_win from win32/*.cpp, each linking the given subsystems' libraries.
function(subsystem_libraries sub)
  cmake_parse_arguments(SL "" "" "DEPS;WIN_LIBS" ${ARGN})
  file(GLOB core_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${sub}_core STATIC ${core_sources})
  target_include_directories(${sub}_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
  foreach(dep ${SL_DEPS})
    target_link_libraries(${sub}_core PUBLIC ${dep}_core)
  endforeach()
  if(WIN32)
    file(GLOB win_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.cpp)
    # A program's entry file (*_main.cpp) belongs to its executable, not to the library.
    list(FILTER win_sources EXCLUDE REGEX "_main\\.cpp$")
    if(win_sources)
      add_library(${sub}_win STATIC ${win_sources})
      target_link_libraries(${sub}_win PUBLIC ${sub}_core ${SL_WIN_LIBS})
      foreach(dep ${SL_DEPS})
        if(TARGET ${dep}_win)
          target_link_libraries(${sub}_win PUBLIC ${dep}_win)
        endif()
      endforeach()
    else()
      add_library(${sub}_win INTERFACE)
      target_link_libraries(${sub}_win INTERFACE ${sub}_core)
    endif()
  endif()
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
