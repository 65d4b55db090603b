# The DLLs that every Windows the program supports (Windows 7 to 11, 32-bit
# and as 32-bit processes on 64-bit Windows) always takes from the system
# folder when a program imports them by name: the DLLs named in all of their
# KnownDLLs lists (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\
# KnownDLLs). Windows looks for any other imported DLL beside the program
# first, so only these may appear in a shipped binary's import table
# (check_dll_imports.cmake); anything else is loaded by full path.
#
# Where the lists come from (lower case, ".dll" left out):
#   Windows 7 SP1, as seen by a 32-bit process on 64-bit Windows (SysWOW64):
#     advapi32 clbcatq comdlg32 difxapi gdi32 iertutil imagehlp imm32 kernel32
#     lpk msctf msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi
#     shell32 shlwapi urlmon user32 usp10 wininet wldap32 ws2_32
#   Windows 10 and 11 (32- and 64-bit; the wow64 and arm64 emulation entries
#   left out, as no program imports them):
#     advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp
#     imm32 kernel32 msctf msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4
#     sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32
# Windows 7 lacks combase, coml2, gdiplus and shcore (gdiplus.dll in
# particular is taken from beside the program there); Windows 10 dropped
# iertutil, lpk, urlmon, usp10 and wininet. What is left is in both:
set(TESSAREL_SYSTEM_FOLDER_DLLS
  advapi32 clbcatq comdlg32 difxapi gdi32 imagehlp imm32 kernel32 msctf msvcrt
  normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shell32 shlwapi
  user32 wldap32 ws2_32)
