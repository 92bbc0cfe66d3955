#include "app/win32/orvatch_app.h"

#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>

#include <string>

#include "app/win32/orvatch_dlg.h"

namespace fenmarq {

int COrvatchApp::run() {
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  COrvatchDlg dialog;
  // Now and then the system fails to create a dialog at the first attempt.
  if (dialog.runModal() || dialog.runModal()) return 0;
  const std::wstring message =
      L"The window could not be created (error " + std::to_wstring(GetLastError()) + L").";
  MessageBoxW(nullptr, message.c_str(), L"fenmarq", MB_OK | MB_ICONERROR);
  return 1;
}

}  // namespace fenmarq
