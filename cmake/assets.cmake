# Everything in assets/ ships beside the binaries: the build copies it into the
# application folder, where the program and the engine look for their files.
file(GLOB_RECURSE tessarel_asset_files CONFIGURE_DEPENDS
  RELATIVE ${CMAKE_SOURCE_DIR}/assets ${CMAKE_SOURCE_DIR}/assets/*)
# The generator scripts kept beside the artwork do not ship.
list(FILTER tessarel_asset_files EXCLUDE REGEX "\\.sh$")
# The help sources ship only compiled, as help.chm (below).
list(FILTER tessarel_asset_files EXCLUDE REGEX "^help/")
set(tessarel_asset_outputs)
foreach(asset IN LISTS tessarel_asset_files)
  add_custom_command(
    OUTPUT ${TESSAREL_APP_DIR}/${asset}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${CMAKE_SOURCE_DIR}/assets/${asset} ${TESSAREL_APP_DIR}/${asset}
    DEPENDS ${CMAKE_SOURCE_DIR}/assets/${asset}
    VERBATIM)
  list(APPEND tessarel_asset_outputs ${TESSAREL_APP_DIR}/${asset})
endforeach()

# The program reads zq.ini from its own folder and names the skin's images
# relative to it: the skin lies flat beside the program.
file(GLOB tessarel_skin_files CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/assets/skin/*.bmp ${CMAKE_SOURCE_DIR}/assets/skin/*.png
  ${CMAKE_SOURCE_DIR}/assets/skin/zq.ini)
foreach(skin_file IN LISTS tessarel_skin_files)
  get_filename_component(skin_name ${skin_file} NAME)
  add_custom_command(
    OUTPUT ${TESSAREL_APP_DIR}/${skin_name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${skin_file} ${TESSAREL_APP_DIR}/${skin_name}
    DEPENDS ${skin_file}
    VERBATIM)
  list(APPEND tessarel_asset_outputs ${TESSAREL_APP_DIR}/${skin_name})
endforeach()

# help.chm: the pages of assets/help (code page 936, like the report
# templates), compiled in a copy in the build folder, since the compiler
# writes its output into the folder it runs in.
find_program(TESSAREL_CHMCMD chmcmd)
if(NOT TESSAREL_CHMCMD)
  message(FATAL_ERROR "chmcmd not found: run scripts/setup.sh (Debian package fp-utils)")
endif()
file(GLOB tessarel_help_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/help/*)
set(tessarel_help_dir ${CMAKE_BINARY_DIR}/help)
file(MAKE_DIRECTORY ${tessarel_help_dir})
add_custom_command(
  OUTPUT ${TESSAREL_APP_DIR}/help.chm
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/assets/help ${tessarel_help_dir}
  COMMAND ${TESSAREL_CHMCMD} --verbosity 0 tessarel.hhp
  COMMAND ${CMAKE_COMMAND} -E copy help.chm ${TESSAREL_APP_DIR}/help.chm
  WORKING_DIRECTORY ${tessarel_help_dir}
  DEPENDS ${tessarel_help_sources}
  COMMENT "Help file help.chm"
  VERBATIM)
list(APPEND tessarel_asset_outputs ${TESSAREL_APP_DIR}/help.chm)

add_custom_target(tessarel_assets ALL DEPENDS ${tessarel_asset_outputs})

# The engine's initial state files, made once and kept across rebuilds.
add_custom_target(tessarel_state_files ALL
  COMMAND ${CMAKE_COMMAND} -DAPP_DIR=${TESSAREL_APP_DIR}
          -P ${CMAKE_SOURCE_DIR}/cmake/initial_state_files.cmake
  COMMENT "Initial state files"
  VERBATIM)
