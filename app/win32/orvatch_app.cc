#include "app/win32/orvatch_app.h"

#include <windows.h>
// Need the types of windows.h.
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app/start_folder.h"
#include "app/win32/orvatch_dlg.h"
#include "platform/utf16_win32.h"

namespace fenmarq {
namespace {

void showError(const std::string& text) {
  MessageBoxW(nullptr, utf16FromUtf8(text).c_str(), L"fenmarq", MB_OK | MB_ICONERROR);
}

// `fenmarq [FOLDER]`: enters FOLDER when it is given. False, after saying
// why, when the window cannot start there.
bool enterFolderOfCommandLine() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return true;
  const std::string folder = count == 2 ? utf8FromUtf16(arguments[1]) : std::string();
  LocalFree(arguments);
  if (count > 2) {
    showError("fenmarq [FOLDER]: one start folder at most");
    return false;
  }
  if (folder.empty()) return true;
  const std::string failure = enterStartFolder(folder);
  if (failure.empty()) return true;
  showError(std::string(kStartFolderFailure) + "\n" + failure);
  return false;
}

}  // namespace

int COrvatchApp::run() {
  if (!enterFolderOfCommandLine()) return 1;
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  COrvatchDlg dialog;
  // Now and then the system fails to create a dialog at the first attempt.
  if (dialog.runModal() || dialog.runModal()) return 0;
  showError("The window could not be created (error " + std::to_string(GetLastError()) + ").");
  return 1;
}

}  // namespace fenmarq
