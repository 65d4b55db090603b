# Checks that a shipped binary imports by name only DLLs that Windows always
# takes from the system folder (system_folder_dlls.cmake), never one that a
# DLL planted beside the program could stand in for.
#
#   cmake -DOBJDUMP=<objdump of the target> -DIMAGE=<Tessarel.exe or dravik.dll>
#         -P check_dll_imports.cmake

if(NOT OBJDUMP OR NOT IMAGE)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=... -DIMAGE=... -P check_dll_imports.cmake")
endif()
if(NOT EXISTS "${IMAGE}")
  message(FATAL_ERROR "${IMAGE} does not exist")
endif()
cmake_policy(SET CMP0057 NEW)  # if(... IN_LIST ...)
include(${CMAKE_CURRENT_LIST_DIR}/system_folder_dlls.cmake)

execute_process(COMMAND "${OBJDUMP}" -p "${IMAGE}"
  OUTPUT_VARIABLE dump RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p failed: ${errors}")
endif()

# One "DLL Name: X.dll" line per imported DLL, in the import table and in the
# delay-import table alike.
string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
if(NOT lines)
  message(FATAL_ERROR "${IMAGE} imports no DLL (not a linked image?)")
endif()
set(imported)
set(refused)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: " "" name "${line}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" lower)
  string(REGEX REPLACE "\\.dll$" "" stem "${lower}")
  list(APPEND imported ${name})
  if(NOT lower MATCHES "\\.dll$" OR NOT stem IN_LIST TESSAREL_SYSTEM_FOLDER_DLLS)
    list(APPEND refused ${name})
  endif()
endforeach()
if(refused)
  list(JOIN refused ", " refused_text)
  message(FATAL_ERROR "${IMAGE} imports DLLs that Windows may take from beside the program: "
                      "${refused_text}")
endif()
list(JOIN imported ", " imported_text)
message(STATUS "${IMAGE}: imports only system-folder DLLs (${imported_text})")
