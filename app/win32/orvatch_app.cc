#include "app/win32/orvatch_app.h"

#include <windows.h>
// Need the types of windows.h.
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/command_line.h"
#include "app/start_folder.h"
#include "app/win32/orvatch_dlg.h"
#include "app/window_launch.h"
#include "platform/utf16_win32.h"

namespace fenmarq {
namespace {

void showMessage(const std::string& text, UINT icon) {
  MessageBoxW(nullptr, utf16FromUtf8(text).c_str(), L"fenmarq", MB_OK | icon);
}

// The arguments after the program's name, in UTF-8, as Explorer, "Send to"
// and a shell pass them.
std::vector<std::string> commandLineArguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(utf8FromUtf16(arguments[i]));
  LocalFree(arguments);
  return args;
}

}  // namespace

// There is no console to print the help on: --help and usage errors show
// the usage in brief.
int COrvatchApp::run() {
  const std::vector<std::string> args = commandLineArguments();
  if (windowRequestOf(args) != WindowRequest::kOpen) {
    showMessage("fenmarq " FENMARQ_VERSION "\n\n" + std::string(windowUsageInBrief()),
                MB_ICONINFORMATION);
    return kWindowDone;
  }
  return launchWindow(windowStartOf(args), *this);
}

void COrvatchApp::showUsageError(const WindowStart& start) {
  showMessage(usageErrorText(start, true) + "\n\n" + std::string(windowUsageInBrief()),
              MB_ICONERROR);
}

void COrvatchApp::showStartFolderFailure(const std::string& folder, std::error_code error) {
  showMessage(startFolderFailure(folder, error, true), MB_ICONERROR);
}

bool COrvatchApp::runDialog(const std::vector<std::string>& entries) {
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  COrvatchDlg dialog;
  dialog.addTargets(entries);
  // Now and then the system fails to create a dialog at the first attempt.
  if (dialog.runModal() || dialog.runModal()) return true;
  showMessage(
      "ウィンドウを作成できませんでした（エラー番号 " + std::to_string(GetLastError()) + "）。",
      MB_ICONERROR);
  return false;
}

}  // namespace fenmarq
