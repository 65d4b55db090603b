# Packs the release zip into a folder of its own and checks what a user
# would unpack: one top folder holding exactly the expected files (nothing
# of the build or of the test build), and state files of their full sizes,
# all zero.
#
#   cmake -DCPACK=<cpack> -DCONFIG=<CPackConfig.cmake> -DWORK=<scratch folder>
#         -DEXPECTED=<file listing the expected paths, one a line> -P check_package.cmake

if(NOT CPACK OR NOT CONFIG OR NOT WORK OR NOT EXPECTED)
  message(FATAL_ERROR "usage: cmake -DCPACK=... -DCONFIG=... -DWORK=... -DEXPECTED=... "
                      "-P check_package.cmake")
endif()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/unpacked")
execute_process(COMMAND "${CPACK}" --config "${CONFIG}" -B "${WORK}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB zips "${WORK}/*.zip")
list(LENGTH zips zip_count)
if(NOT zip_count EQUAL 1)
  message(FATAL_ERROR "expected one zip, found: ${zips}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar xf "${zips}"
  WORKING_DIRECTORY "${WORK}/unpacked" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${zips} does not unpack")
endif()

file(GLOB_RECURSE found RELATIVE "${WORK}/unpacked" "${WORK}/unpacked/*")
file(STRINGS "${EXPECTED}" expected)
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  set(extra ${found})
  list(REMOVE_ITEM extra ${expected})
  set(missing ${expected})
  list(REMOVE_ITEM missing ${found})
  message(FATAL_ERROR "${zips}:\n  not expected: ${extra}\n  missing: ${missing}")
endif()

# The engine only updates its state files in place: each must be there at
# its full size, and a user's first run starts from nothing recorded.
foreach(entry "Setting;13" "diskdata;624000" "defragdate;416")
  list(GET entry 0 name)
  list(GET entry 1 size)
  file(GLOB path "${WORK}/unpacked/*/${name}")
  file(SIZE "${path}" actual)
  file(READ "${path}" bytes HEX)
  string(REGEX REPLACE "0" "" nonzero "${bytes}")
  if(NOT actual EQUAL size OR NOT nonzero STREQUAL "")
    message(FATAL_ERROR "${name}: ${actual} bytes, expected ${size} zero bytes")
  endif()
endforeach()
list(LENGTH found file_count)
message(STATUS "${zips}: the ${file_count} expected files")
