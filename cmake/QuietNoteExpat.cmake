# expat: the system's development package on the host; on Windows the static library
# that scripts/fetch-expat builds from Debian's source package (QN_EXPAT_ROOT).
if(WIN32)
  set(QN_EXPAT_ROOT "${CMAKE_BINARY_DIR}/deps/expat" CACHE PATH "expat built for Windows by scripts/fetch-expat")
  if(NOT EXISTS "${QN_EXPAT_ROOT}/lib/libexpat.a")
    message(FATAL_ERROR "expat for Windows not found in ${QN_EXPAT_ROOT}: run scripts/fetch-expat first")
  endif()
  add_library(qn_expat STATIC IMPORTED GLOBAL)
  set_target_properties(qn_expat PROPERTIES
    IMPORTED_LOCATION "${QN_EXPAT_ROOT}/lib/libexpat.a"
    INTERFACE_INCLUDE_DIRECTORIES "${QN_EXPAT_ROOT}/include"
    INTERFACE_COMPILE_DEFINITIONS XML_STATIC)
else()
  find_package(EXPAT 2.1 REQUIRED)
  add_library(qn_expat INTERFACE IMPORTED GLOBAL)
  target_link_libraries(qn_expat INTERFACE EXPAT::EXPAT)
endif()
