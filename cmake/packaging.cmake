# The release: the application folder as a user gets it, packed by the
# `package` target into one zip, build/<arch>/Tessarel-<version>-win32.zip
# (win64 for the test build), whose top folder is Tessarel-<version>.
#
# Only what the install rules of the component `application` name goes in:
# the program, the engine, the templates, report-set pages, skin, help and
# fresh state files. The build folder's own application folder also holds
# the program library's build files, and the test build adds test programs
# and the libraries they bring (some with install rules of their own); none
# of that is in this component.

set(tessarel_package_folder "Tessarel-${PROJECT_VERSION}")

# What the zip holds below its top folder, checked at the end.
set(tessarel_package_files dravik.dll help.chm Setting diskdata defragdate)
foreach(asset IN LISTS tessarel_asset_files)
  tessarel_asset_destination(${asset} destination)
  list(APPEND tessarel_package_files ${destination})
endforeach()

# The program is built by its own target once it exists; the engine always.
if(TARGET Tessarel)
  install(FILES $<TARGET_FILE:Tessarel>
    DESTINATION ${tessarel_package_folder} COMPONENT application)
  list(APPEND tessarel_package_files Tessarel.exe)
endif()
install(FILES $<TARGET_FILE:dravik>
  DESTINATION ${tessarel_package_folder} COMPONENT application)

# The data files the build copies beside the binaries, in their folders.
foreach(asset IN LISTS tessarel_asset_files)
  tessarel_asset_destination(${asset} destination)
  get_filename_component(asset_folder "${destination}" DIRECTORY)
  install(FILES ${TESSAREL_APP_DIR}/${destination}
    DESTINATION ${tessarel_package_folder}/${asset_folder} COMPONENT application)
endforeach()
install(FILES ${TESSAREL_APP_DIR}/help.chm
  DESTINATION ${tessarel_package_folder} COMPONENT application)

# The state files are written afresh where the folder is installed, not
# copied from the build's application folder: a run of the build there
# rewrites them with its own options, maps and dates, none of which may
# ship. An install over a user's folder keeps the user's files.
install(CODE "
  execute_process(
    COMMAND \"${CMAKE_COMMAND}\"
            \"-DAPP_DIR=\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${tessarel_package_folder}\"
            -P \"${CMAKE_SOURCE_DIR}/cmake/initial_state_files.cmake\"
    RESULT_VARIABLE state_files_result)
  if(NOT state_files_result EQUAL 0)
    message(FATAL_ERROR \"the initial state files could not be written\")
  endif()
  " COMPONENT application)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(CPACK_SYSTEM_NAME win32)
else()
  set(CPACK_SYSTEM_NAME win64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tessarel)
set(CPACK_PACKAGE_VENDOR Tessarel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "Tessarel-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME}")
# The top folder is the install destination above, so it does not carry the
# system's name.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# This project, its application component alone.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Tessarel;application;/")
include(CPack)

# The zip holds these files and nothing else; checked by unpacking a fresh
# one (run by ctest, after the build).
list(TRANSFORM tessarel_package_files PREPEND "${tessarel_package_folder}/")
list(JOIN tessarel_package_files "\n" tessarel_package_listing)
file(WRITE ${CMAKE_BINARY_DIR}/package_check/expected.txt "${tessarel_package_listing}\n")
add_test(NAME release_zip
  COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND}
          -DCONFIG=${CMAKE_BINARY_DIR}/CPackConfig.cmake
          -DWORK=${CMAKE_BINARY_DIR}/package_check/work
          -DEXPECTED=${CMAKE_BINARY_DIR}/package_check/expected.txt
          -P ${CMAKE_SOURCE_DIR}/cmake/check_package.cmake)
set_tests_properties(release_zip PROPERTIES LABELS no_wine TIMEOUT 120)
