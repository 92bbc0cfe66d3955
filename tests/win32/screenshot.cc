// Takes a picture of the window after a batch, for the documentation:
//   fenmarq_window_screenshot OUT.bmp FILE...
// adds FILE... to the target list as the user would, converts them in the
// current directory and saves the window, frame and caption included, as
// OUT.bmp. tools/screenshot-windows.sh runs it under wine.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/win32/orvatch_dlg.h"
#include "app/win32/resource.h"
#include "tests/win32/message_loop.h"

namespace {

// The screen's pixels under `window` as a 24-bit bottom-up BMP file.
bool saveWindow(HWND window, const std::filesystem::path& path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) / 4 * 4;
  header.biSizeImage = static_cast<DWORD>(stride * height);

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, previous);
  std::vector<char> pixels(header.biSizeImage);
  const int lines = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (lines != height) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: fenmarq_window_screenshot OUT.bmp FILE...\n", stderr);
    return 2;
  }
  fenmarq::COrvatchDlg dialog;
  HWND window = dialog.create();
  if (window == nullptr) window = dialog.create();
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOW);
  for (int i = 2; i < argc; ++i) {
    const std::wstring path = std::filesystem::absolute(argv[i]).wstring();
    SetDlgItemTextW(window, IDC_SBIN, path.c_str());
    SendDlgItemMessageW(window, IDC_ADDTARGET, BM_CLICK, 0, 0);
  }
  SendDlgItemMessageW(window, IDC_START, BM_CLICK, 0, 0);
  if (!fenmarq::testing::pumpUntil(
          window, [&] { return !dialog.batchRunning(); }, 60000)) {
    return 1;
  }
  fenmarq::testing::pumpFor(window, 500);
  return saveWindow(window, argv[1]) ? 0 : 1;
}
