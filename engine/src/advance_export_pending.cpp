// Holds ordinal 15 of dravik.dll until the advanced dialog is built: the
// program binds DLL_Advance by name with the other exports.

extern "C" int __cdecl DLL_Advance(void) {
  // TODO(advanced dialog): replaced by the dialog's export; delete this file
  // and its line in engine/CMakeLists.txt then. -1: no dialog was shown.
  return -1;
}
