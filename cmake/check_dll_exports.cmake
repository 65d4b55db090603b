# Checks the export table of the engine library: exactly these 18 names, each
# at its ordinal, nothing else exported. The program binds the names; the
# ordinals are part of the library's published interface.
#
#   cmake -DOBJDUMP=<objdump of the target> -DDLL=<dravik.dll> -P check_dll_exports.cmake

set(expected
  1 DLL_AnalyseVolume
  2 DLL_DefragVolume
  3 DLL_GetVolumeColorTable
  4 DLL_GetVolumeSectorColor
  5 DLL_GetVolumeSectorFilesList
  6 DLL_GetVolumeSectorFileInfo
  7 DLL_SetCurrentVolume
  8 DLL_GetWorkingStatus
  9 DLL_WorkingStop
  10 DLL_Options
  11 DLL_GetLogout
  12 DLL_GetRestart
  13 DLL_GetAutoRun
  14 DLL_GetVolumeInfo
  15 DLL_Advance
  16 DLL_SaveRegistryReport
  17 DLL_ShowReport
  18 DLL_OptimizedDefragVolume
)

if(NOT OBJDUMP OR NOT DLL)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=... -DDLL=... -P check_dll_exports.cmake")
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
