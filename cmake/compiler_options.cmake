# Compiler settings shared by every target of the project.
option(TESSAREL_WERROR "Treat compiler warnings as errors" ON)

add_library(tessarel_options INTERFACE)
target_compile_features(tessarel_options INTERFACE cxx_std_17)
target_compile_definitions(tessarel_options INTERFACE
  WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
target_compile_options(tessarel_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wno-missing-field-initializers>
  $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<BOOL:${TESSAREL_WERROR}>>:-Werror>)

# The engine's narrow texts are code page 936 bytes; its sources are UTF-8.
add_library(tessarel_gbk_texts INTERFACE)
target_compile_options(tessarel_gbk_texts INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8 -fexec-charset=GBK>)

# The program's texts are wide literals, its entry point wWinMain.
add_library(tessarel_unicode INTERFACE)
target_compile_definitions(tessarel_unicode INTERFACE UNICODE _UNICODE)
