# Checks the export table of the engine library against its definition file:
# exactly the names dravik.def lists, each at its ordinal, nothing else
# exported. The program binds the names; the ordinals are part of the
# library's published interface.
#
#   cmake -DOBJDUMP=<objdump of the target> -DDLL=<dravik.dll> -DDEF=<dravik.def>
#         -P check_dll_exports.cmake

if(NOT OBJDUMP OR NOT DLL OR NOT DEF)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=... -DDLL=... -DDEF=... -P check_dll_exports.cmake")
endif()

# "  NAME @ORDINAL" lines of the EXPORTS section.
file(STRINGS "${DEF}" def_lines)
set(expected)
foreach(line IN LISTS def_lines)
  if(line MATCHES "^[ \t]+([A-Za-z_][A-Za-z0-9_]*)[ \t]+@([0-9]+)")
    list(APPEND expected ${CMAKE_MATCH_2} ${CMAKE_MATCH_1})
  endif()
endforeach()
if(NOT expected)
  message(FATAL_ERROR "${DEF} lists no exports")
endif()

if(NOT EXISTS "${DLL}")
  message(FATAL_ERROR "${DLL} does not exist")
endif()

execute_process(COMMAND "${OBJDUMP}" -p "${DLL}"
  OUTPUT_VARIABLE dump RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p failed: ${errors}")
endif()

string(REGEX MATCH "Ordinal Base ([0-9]+)" base_line "${dump}")
if(NOT base_line)
  message(FATAL_ERROR "${DLL} has no export table")
endif()
set(base ${CMAKE_MATCH_1})

# Every slot of the address table, named or not: a slot without a name (a
# gap in the ordinals, an export by ordinal only) is an export all the same.
string(REGEX MATCHALL "\\+base\\[ *[0-9]+\\]" slots "${dump}")
list(LENGTH slots slot_count)

# "[Ordinal/Name Pointer] Table" lines: "[ index] name", ordinal = base + index.
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" names_at)
if(names_at EQUAL -1)
  message(FATAL_ERROR "${DLL} exports no names")
endif()
string(SUBSTRING "${dump}" ${names_at} -1 names_part)
string(REGEX REPLACE "\n\n.*" "" names_part "${names_part}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" named "${names_part}")

set(found)
foreach(line IN LISTS named)
  string(REGEX MATCH "\\[ *([0-9]+)\\] ([^ \n]+)" _ "${line}")
  math(EXPR ordinal "${base} + ${CMAKE_MATCH_1}")
  list(APPEND found "${ordinal} ${CMAKE_MATCH_2}")
endforeach()
list(SORT found COMPARE NATURAL)

set(wanted)
list(LENGTH expected count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET expected ${i} ordinal)
  list(GET expected ${j} name)
  list(APPEND wanted "${ordinal} ${name}")
endforeach()
list(SORT wanted COMPARE NATURAL)
math(EXPR wanted_count "${count} / 2")

if(NOT found STREQUAL wanted OR NOT slot_count EQUAL wanted_count)
  string(REPLACE ";" "\n  " found_text "${found}")
  string(REPLACE ";" "\n  " wanted_text "${wanted}")
  message(FATAL_ERROR "export table of ${DLL} differs\n"
                      "expected ${wanted_count} ordinals:\n  ${wanted_text}\n"
                      "found ${slot_count} ordinals, named:\n  ${found_text}")
endif()
message(STATUS "${DLL}: ${wanted_count} exports at their ordinals")
