# Everything in assets/ ships beside the binaries: the build copies it into the
# application folder, where the program and the engine look for their files.
file(GLOB_RECURSE tessarel_asset_files CONFIGURE_DEPENDS
  RELATIVE ${CMAKE_SOURCE_DIR}/assets ${CMAKE_SOURCE_DIR}/assets/*)
# The generator scripts kept beside the artwork do not ship.
list(FILTER tessarel_asset_files EXCLUDE REGEX "\\.sh$")
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
add_custom_target(tessarel_assets ALL DEPENDS ${tessarel_asset_outputs})

# The engine's initial state files, made once and kept across rebuilds.
add_custom_target(tessarel_state_files ALL
  COMMAND ${CMAKE_COMMAND} -DAPP_DIR=${TESSAREL_APP_DIR}
          -P ${CMAKE_SOURCE_DIR}/cmake/initial_state_files.cmake
  COMMENT "Initial state files"
  VERBATIM)
