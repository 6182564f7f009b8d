# Scintilla.dll, the code editor component that scripts/fetch-scintilla builds from Debian's
# source package (QN_SCINTILLA_DLL). The code editor kind loads it at run time, so it is
# only copied beside the programs that may show one (qn_place_scintilla); QuietNote.exe
# never loads it.
if(WIN32)
  set(QN_SCINTILLA_DLL "${CMAKE_BINARY_DIR}/deps/scintilla/Scintilla.dll" CACHE FILEPATH
      "Scintilla.dll built for Windows by scripts/fetch-scintilla")
  if(NOT EXISTS "${QN_SCINTILLA_DLL}")
    message(FATAL_ERROR "Scintilla.dll not found at ${QN_SCINTILLA_DLL}: run scripts/fetch-scintilla first")
  endif()
endif()

# Copies the component into the current binary folder, beside the programs built there.
function(qn_place_scintilla)
  if(WIN32)
    configure_file(${QN_SCINTILLA_DLL} ${CMAKE_CURRENT_BINARY_DIR}/Scintilla.dll COPYONLY)
  endif()
endfunction()
