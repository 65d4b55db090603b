#pragma once
// Reading the registry for the checkers. Every text handed out is cut at its
// first zero character and never runs past the bytes the registry gave.
// Worker thread (any thread: nothing here keeps state).

#include <windows.h>

#include <string>

namespace regscan {

// One enumerated value. type is the registry value type; name and data
// point into the enumerator's buffers and are valid only during the checker
// call. data is the value's bytes read as wide characters and always
// terminated; only REG_SZ and REG_EXPAND_SZ data is text worth judging.
struct registry_value {
  DWORD type;
  const wchar_t* name;
  const wchar_t* data;
};

// One enumerated subkey: its name, valid only during the checker call.
struct registry_subkey {
  const wchar_t* name;
};

// A checker returns true to end the enumeration.
using subkey_checker = bool (*)(const registry_subkey* subkey);
using value_checker = bool (*)(const registry_value* value);

// Calls checker for each subkey of root\key_path in index order; an index
// that cannot be read is skipped. 0, or -1 when the key cannot be opened or
// queried (then the checker is never called).
int enum_subkeys(HKEY root, const wchar_t* key_path, subkey_checker checker);

// The same for the values; a value whose name or data does not fit the
// buffers (16384 characters, 520 bytes) is skipped.
int enum_values(HKEY root, const wchar_t* key_path, value_checker checker);

// The wide text of raw value bytes: up to the first zero character, never
// past size bytes (an odd last byte is dropped).
std::wstring text_of_bytes(const BYTE* bytes, DWORD size);

// The text a path check may judge, from a value's type and text: REG_SZ as
// it is, REG_EXPAND_SZ expanded (within 261 characters); empty for any other
// type and for an expansion that fails or does not fit, so the item stays
// unjudged instead of being judged on a truncated path.
std::wstring judged_text(DWORD type, const std::wstring& text);

// The text of a value as it stands, for the categories whose data the
// system does not expand: REG_SZ and REG_EXPAND_SZ alike; empty for any other
// type. A variable left in it keeps the text from being judged.
std::wstring literal_text(DWORD type, const std::wstring& text);

// The judged text of a value of an open key (empty name: the key's default
// value), read into 261 bytes. Empty when the value is missing, longer than
// that, not REG_SZ or REG_EXPAND_SZ, or its expansion fails or does not fit.
std::wstring read_value_text(HKEY key, const wchar_t* name);

}  // namespace regscan
