// window_batch LIST: opens the window in the current folder, puts the files
// that LIST names (one per line, UTF-8) into its list, clicks the start
// button and prints the seconds from the click until the title has lost its
// progress, that is, until the window is ready for the user again.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/win32/orvatch_dlg.h"
#include "app/win32/resource.h"
#include "platform/utf16_win32.h"

int wmain(int argc, wchar_t** argv) {
  std::ifstream list(argc == 2 ? argv[1] : L"");
  if (!list) {
    std::fprintf(stderr, "usage: window_batch LIST\n");
    return 2;
  }
  fenmarq::COrvatchDlg dialog;
  HWND window = dialog.create();
  if (window == nullptr) window = dialog.create();  // now and then the first attempt fails
  if (window == nullptr) {
    std::fprintf(stderr, "window_batch: no window (error %lu)\n", GetLastError());
    return 1;
  }
  ShowWindow(window, SW_SHOW);
  for (std::string entry; std::getline(list, entry);) {
    if (!entry.empty() && entry.back() == '\r') entry.pop_back();
    SetDlgItemTextW(window, IDC_SBIN, fenmarq::utf16FromUtf8(entry).c_str());
    SendDlgItemMessageW(window, IDC_ADDTARGET, BM_CLICK, 0, 0);
  }

  const auto start = std::chrono::steady_clock::now();
  SendDlgItemMessageW(window, IDC_START, BM_CLICK, 0, 0);
  MSG message;
  while (dialog.batchRunning() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  std::printf("%.3f\n", elapsed.count());
  return 0;
}
