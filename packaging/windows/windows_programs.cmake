# What makes a Windows program of ours: a GUI program (no console window opens beside it) with
# the product's version information and icon, and warnings as errors as everywhere.
set(QUORLANE_WINDOWS_PRODUCT "Quorlane (Screen Saver)")
set(QUORLANE_WINDOWS_VERSION "1.00")
set(QUORLANE_WINDOWS_ICON ${CMAKE_SOURCE_DIR}/shell/assets/icons/quorlane.ico)
enable_language(RC)

# quorlane_windows_program(TARGET FILE_NAME DESCRIPTION)
function(quorlane_windows_program target file_name description)
  set(QUORLANE_WINDOWS_FILE_NAME ${file_name})
  set(QUORLANE_WINDOWS_DESCRIPTION ${description})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${QUORLANE_WINDOWS_ICON})
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
endfunction()
