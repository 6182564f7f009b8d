# Each source folder is one library. A file ending in _win.cpp is Windows code and is
# left out of the host build; everything else must build on both.
function(qn_add_library name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT WIN32)
    list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# Each test file is one test program: *_test.cpp runs on both builds, *_win_test.cpp
# only under Wine, *_gui_test.cpp under Wine with an X display of its own.
function(qn_add_test_folder folder)
  cmake_parse_arguments(F "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${folder}/*_test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${folder}/*_helpers.cpp)
  foreach(test ${tests})
    get_filename_component(stem ${test} NAME_WE)
    get_filename_component(area ${folder} NAME)
    set(options)
    if(stem MATCHES "_gui_test$")
      list(APPEND options WINDOWS_ONLY GUI)
    elseif(stem MATCHES "_win_test$")
      list(APPEND options WINDOWS_ONLY)
    endif()
    qn_add_test(${area}_${stem} SOURCES ${test} ${helpers} LIBS ${F_LIBS} ${options})
  endforeach()
endfunction()
