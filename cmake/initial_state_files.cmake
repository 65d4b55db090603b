# Writes the engine's state files into the application folder when they are
# absent: the engine only ever updates them in place and never creates them.
# Existing files (a user's flags, saved maps, dates) are never overwritten.
#
#   cmake -DAPP_DIR=<application folder> -P initial_state_files.cmake
#
#   Setting     13 bytes: the option flags in bytes 9 to 12
#   diskdata    624,000 bytes: 26 slots of 1000 cells of 24 bytes
#   defragdate  416 bytes: 26 slots of one 16-byte date
# all zero.

if(NOT APP_DIR)
  message(FATAL_ERROR "usage: cmake -DAPP_DIR=... -P initial_state_files.cmake")
endif()

find_program(head_program head REQUIRED)
foreach(entry "Setting;13" "diskdata;624000" "defragdate;416")
  list(GET entry 0 name)
  list(GET entry 1 size)
  set(path "${APP_DIR}/${name}")
  if(EXISTS "${path}")
    continue()
  endif()
  # Written under a temporary name first, so that an interrupted build never
  # leaves a short file that would then be kept.
  execute_process(COMMAND "${head_program}" -c ${size} /dev/zero
    OUTPUT_FILE "${path}.tmp" RESULT_VARIABLE result)
  file(SIZE "${path}.tmp" written)
  if(NOT result EQUAL 0 OR NOT written EQUAL size)
    file(REMOVE "${path}.tmp")
    message(FATAL_ERROR "could not write ${path}")
  endif()
  file(RENAME "${path}.tmp" "${path}")
endforeach()
