# Checks that a PE image is marked large-address-aware: a 32-bit program so
# marked gets the whole 4 GiB of address space on 64-bit Windows instead of
# 2 GiB, which the engine it loads needs for a large volume's bitmap, file
# lists and optimisation set.
#
#   cmake -DOBJDUMP=<objdump of the target> -DIMAGE=<Tessarel.exe>
#         -P check_large_address_aware.cmake

if(NOT OBJDUMP OR NOT IMAGE)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=... -DIMAGE=... -P check_large_address_aware.cmake")
endif()
if(NOT EXISTS "${IMAGE}")
  message(FATAL_ERROR "${IMAGE} does not exist")
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${IMAGE}"
  OUTPUT_VARIABLE dump RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p failed: ${errors}")
endif()

# "Characteristics 0x..." and one indented line per flag after it.
string(REGEX MATCH "Characteristics (0x[0-9a-fA-F]+)" line "${dump}")
if(NOT line)
  message(FATAL_ERROR "${IMAGE}: no Characteristics in the file header")
endif()
math(EXPR large_address_aware "${CMAKE_MATCH_1} & 0x20")
if(NOT large_address_aware)
  message(FATAL_ERROR "${IMAGE} is not large-address-aware (Characteristics ${CMAKE_MATCH_1})")
endif()
message(STATUS "${IMAGE}: large-address-aware (Characteristics ${CMAKE_MATCH_1})")
