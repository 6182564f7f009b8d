# Test programs: GoogleTest built from Debian's sources with the same compiler and flags
# as the code under test, so that host and Windows builds test the same way.
set(QN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
set(QN_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/wine-run)
set(QN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# The exit code of a test program whose every test skipped (tests/support/test_main.cpp).
set(QN_TEST_SKIPPED_EXIT_CODE 77)

if(QN_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${QN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# qn_add_test(<name> SOURCES <files> LIBS <libraries> [GUI] [WINDOWS_ONLY])
# A Windows test runs under Wine; a GUI test also gets an X display of its own,
# so that tests running in parallel never share keyboard focus.
function(qn_add_test name)
  cmake_parse_arguments(T "GUI;WINDOWS_ONLY" "" "SOURCES;LIBS" ${ARGN})
  if(T_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} qn_test_support gtest)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE ${QN_TEST_SKIPPED_EXIT_CODE})
  if(WIN32)
    set(emulator ${QN_WINE_RUN} --prefix ${QN_WINEPREFIX})
    if(T_GUI)
      list(APPEND emulator --gui)
    endif()
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${emulator}")
  endif()
endfunction()
