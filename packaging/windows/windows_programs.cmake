# What makes a Windows program of ours: a GUI program (no console window opens beside it) with
# the product's version information, icon and manifest (aware of each monitor's dots per inch),
# and warnings as errors as everywhere.
set(QUORLANE_WINDOWS_PRODUCT "Quorlane (Screen Saver)")
set(QUORLANE_WINDOWS_VERSION "1.00")
set(QUORLANE_WINDOWS_ICON ${CMAKE_SOURCE_DIR}/shell/assets/icons/quorlane.ico)
set(QUORLANE_WINDOWS_MANIFEST ${CMAKE_SOURCE_DIR}/packaging/windows/dpi_aware.manifest)
enable_language(RC)

# quorlane_windows_program(TARGET FILE_NAME DESCRIPTION)
function(quorlane_windows_program target file_name description)
  set(QUORLANE_WINDOWS_FILE_NAME ${file_name})
  set(QUORLANE_WINDOWS_DESCRIPTION ${description})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES
    OBJECT_DEPENDS "${QUORLANE_WINDOWS_ICON};${QUORLANE_WINDOWS_MANIFEST}")
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
endfunction()

# quorlane_windows_zip(ZIP_NAME TARGET...): the zip a Windows user downloads, made by every
# build: the programs, stripped of their debugging information, the README in Windows' own line
# ends, and the web page with its pictures (QUORLANE_PAGE_FILES).
function(quorlane_windows_zip zip_name)
  # The install text ships beside the programs in the build too, as in the zip.
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${QUORLANE_BIN_DIR}/README.txt
    COPYONLY)
  set(stage ${CMAKE_BINARY_DIR}/zip-stage)
  set(zip ${CMAKE_BINARY_DIR}/${zip_name})
  set(commands COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} COMMAND ${CMAKE_COMMAND} -E make_directory ${stage})
  set(files README.txt)
  foreach(target ${ARGN})
    list(APPEND commands COMMAND ${CMAKE_STRIP} -o ${stage}/$<TARGET_FILE_NAME:${target}> $<TARGET_FILE:${target}>)
    list(APPEND files $<TARGET_FILE_NAME:${target}>)
  endforeach()
  list(APPEND commands COMMAND ${CMAKE_COMMAND} -DFROM=${CMAKE_SOURCE_DIR}/packaging/windows/README.txt
       -DTO=${stage}/README.txt -P ${CMAKE_SOURCE_DIR}/packaging/windows/crlf.cmake)
  foreach(page_file ${QUORLANE_PAGE_FILES})
    get_filename_component(name ${page_file} NAME)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy ${page_file} ${stage}/${name})
    list(APPEND files ${name})
  endforeach()
  add_custom_command(OUTPUT ${zip} ${commands}
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${files}
    DEPENDS ${ARGN} ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${QUORLANE_PAGE_FILES} VERBATIM)
  add_custom_target(quorlane_windows_zip ALL DEPENDS ${zip})
  if(TARGET quorlane_page)
    add_dependencies(quorlane_windows_zip quorlane_page)
  endif()
endfunction()

# quorlane_windows_resources(LIBRARY RC_IN FILE...): LIBRARY's resources, the script RC_IN (its
# @VARIABLES@ filled in) over the FILEs, compiled into every program that links LIBRARY. They
# are objects of their own: in a static library they would be left out, as no code calls them.
function(quorlane_windows_resources library rc_in)
  get_filename_component(name ${rc_in} NAME_WE)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
  configure_file(${rc_in} ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${ARGN}")
  # The FILEs as sources too, so that those made by the build are made first.
  add_library(${library}_resources OBJECT ${rc} ${ARGN})
  target_sources(${library} INTERFACE $<TARGET_OBJECTS:${library}_resources>)
endfunction()
