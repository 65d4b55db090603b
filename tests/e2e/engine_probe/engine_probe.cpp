// The end-to-end tests' view of the engine itself: run from a copy of the
// simulated application folder (the engine's folder is its host's), it loads
// dravik.dll, analyses the letters of its first argument ("-" for none) and
// writes the 1000 cell codes of C, D and E to "cell-codes.txt" beside
// itself, one line per volume: "C 0 1 4 ...".
// Exit code: 0 done, 10 no engine, 11 an export missing, 12 no file.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

template <class Function>
Function bind(HMODULE engine, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(engine, name)));
}

constexpr int cells = 1000;

}  // namespace

int main(int argc, char** argv) {
  const HMODULE engine = LoadLibraryW(L"dravik.dll");
  if (engine == nullptr) return 10;
  const auto analyse = bind<int(__cdecl*)(const char*)>(engine, "DLL_AnalyseVolume");
  const auto select = bind<void(__cdecl*)(int)>(engine, "DLL_SetCurrentVolume");
  const auto table = bind<std::int32_t*(__cdecl*)(int)>(engine, "DLL_GetVolumeColorTable");
  if (!analyse || !select || !table) return 11;

  const std::string letters = argc > 1 ? argv[1] : "-";
  if (letters != "-") analyse(letters.c_str());

  std::string text;
  for (const char letter : {'C', 'D', 'E'}) {
    select(letter);
    const std::int32_t* codes = table(letter);
    text += letter;
    for (int cell = 0; cell < cells; ++cell)
      text += " " + std::to_string(codes ? codes[cell] : 0);
    text += "\n";
  }
  FreeLibrary(engine);
  std::FILE* file = std::fopen("cell-codes.txt", "wb");
  if (file == nullptr) return 12;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  return 0;
}
