# QuietToolkit: the libraries under the QuietNote diary, for 64-bit Windows programs built with
# mingw-w64 (C++20, no exceptions needed). Imported targets, each with its headers and the
# libraries it needs:
#   QuietToolkit::core      numbered objects
#   QuietToolkit::services  files and folders, text conversion, dates, list sorting, random numbers
#   QuietToolkit::xml       the XML document tree (with expat)
#   QuietToolkit::images    images, drawing, loading and saving pictures
#   QuietToolkit::toolkit   events and handlers, windows, the basic controls, menus, fonts
#   QuietToolkit::controls  the further control kinds
#   QuietToolkit::dialog    windows made from dialog definitions, the runtime registry
#   QuietToolkit::QuietToolkit  all of them
get_filename_component(_quiet_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)

function(_quiet_library part file)
  add_library(QuietToolkit::${part} STATIC IMPORTED)
  set_target_properties(QuietToolkit::${part} PROPERTIES
    IMPORTED_LOCATION "${_quiet_prefix}/lib/${file}"
    INTERFACE_INCLUDE_DIRECTORIES "${_quiet_prefix}/include/quietnote"
    INTERFACE_COMPILE_DEFINITIONS "UNICODE;_UNICODE;WIN32_LEAN_AND_MEAN;NOMINMAX;_WIN32_WINNT=0x0601"
    INTERFACE_LINK_LIBRARIES "${ARGN}")
endfunction()

if(NOT TARGET QuietToolkit::QuietToolkit)
  _quiet_library(core libqn_core.a)
  _quiet_library(expat libexpat.a)
  _quiet_library(services libqn_services.a QuietToolkit::core)
  _quiet_library(xml libqn_xml.a QuietToolkit::services QuietToolkit::core QuietToolkit::expat)
  _quiet_library(images libqn_images.a QuietToolkit::services QuietToolkit::core
                 gdi32 msimg32 ole32 oleaut32 windowscodecs uuid)
  _quiet_library(toolkit libqn_toolkit.a QuietToolkit::images QuietToolkit::core
                 user32 gdi32 comctl32 shell32 ole32)
  _quiet_library(controls libqn_controls.a QuietToolkit::toolkit QuietToolkit::images QuietToolkit::services
                 ole32 oleaut32 uuid)
  _quiet_library(dialog libqn_dialog.a QuietToolkit::xml QuietToolkit::controls QuietToolkit::toolkit
                 QuietToolkit::services)
  add_library(QuietToolkit::QuietToolkit INTERFACE IMPORTED)
  set_target_properties(QuietToolkit::QuietToolkit PROPERTIES INTERFACE_LINK_LIBRARIES
    "QuietToolkit::dialog;QuietToolkit::controls;QuietToolkit::toolkit;QuietToolkit::images;QuietToolkit::xml;QuietToolkit::services;QuietToolkit::core")
endif()
set(QuietToolkit_FOUND TRUE)
