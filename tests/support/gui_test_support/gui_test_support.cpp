#include "gui_test_support/gui_test_support.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

// GDI+'s headers use min and max unqualified.
using std::max;
using std::min;
#include <objidl.h>
#include <gdiplus.h>

namespace tessarel::testing {

std::wstring unique_class_name(const wchar_t* stem) {
  static int counter = 0;
  return std::wstring(stem) + L"_" + std::to_wstring(++counter);
}

void pump_messages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void move_cursor_to(int x, int y) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute input is in 1/65536 of the screen; round up so that scaling
  // back lands on the pixel itself.
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = (x * 65536 + width - 1) / width;
  input.mi.dy = (y * 65536 + height - 1) / height;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
  pump_messages();
}

namespace {

void send_button(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
  pump_messages();
}

}  // namespace

void press_left() { send_button(MOUSEEVENTF_LEFTDOWN); }
void release_left() { send_button(MOUSEEVENTF_LEFTUP); }

void press_key(WORD virtual_key) {
  INPUT inputs[2]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC));
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

bool pump_until(const std::function<bool()>& done, int max_ms) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(max_ms);
  while (!done() && GetTickCount64() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    pump_messages();
  }
  return done();
}

POINT client_to_screen(HWND hwnd, int x, int y) {
  POINT point{x, y};
  ClientToScreen(hwnd, &point);
  return point;
}

std::wstring test_folder() {
  wchar_t path[MAX_PATH * 4] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring folder(path);
  return folder.substr(0, folder.rfind(L'\\'));
}

scoped_file::scoped_file(const std::wstring& name, const std::string& bytes)
    : name_(name), path_(test_folder() + L"\\" + name) {
  if (FILE* file = _wfopen(path_.c_str(), L"wb")) {
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
  }
}

scoped_file::~scoped_file() { DeleteFileW(path_.c_str()); }

std::string bmp_file(int width, int height, const std::function<COLORREF(int, int)>& pixel) {
  const int row_size = (width * 3 + 3) / 4 * 4;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(row_size * height);
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // positive: rows stored bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;

  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  for (int y = height - 1; y >= 0; --y) {
    std::string row(static_cast<size_t>(row_size), '\0');
    for (int x = 0; x < width; ++x) {
      const COLORREF colour = pixel(x, y);
      row[static_cast<size_t>(x * 3)] = static_cast<char>(GetBValue(colour));
      row[static_cast<size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(colour));
      row[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(colour));
    }
    bytes += row;
  }
  return bytes;
}

COLORREF client_pixel(HWND hwnd, int x, int y) {
  UpdateWindow(hwnd);
  const HDC dc = GetDC(hwnd);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return colour;
}

namespace {

// The PNG encoder of GDI+.
const CLSID png_encoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

}  // namespace

bool save_screenshot(HWND hwnd, const std::wstring& name) {
  UpdateWindow(hwnd);
  // Wine hands what windows painted to the display only while the thread
  // waits for messages, at most every 50 ms: wait long enough for that.
  pump_until([] { return false; }, 100);
  RECT rect{};
  if (!GetWindowRect(hwnd, &rect)) return false;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;

  // Copied from the screen, so children and frames appear as a person sees
  // them.
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  bool saved = false;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
    Gdiplus::GpBitmap* image = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Gdiplus::Ok) {
      std::wstring folder = TESSAREL_TEST_SCREENSHOT_DIR;
      CreateDirectoryW(folder.c_str(), nullptr);
      const std::wstring path = folder + name;
      saved = Gdiplus::DllExports::GdipSaveImageToFile(image, path.c_str(), &png_encoder,
                                                       nullptr) == Gdiplus::Ok;
      Gdiplus::DllExports::GdipDisposeImage(image);
    }
    Gdiplus::GdiplusShutdown(token);
  }
  DeleteObject(bitmap);
  return saved;
}

DWORD open_handle_count() {
  DWORD count = 0;
  for (uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

}  // namespace tessarel::testing
