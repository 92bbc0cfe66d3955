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
#include "platform/utf16_win32.h"

namespace fenmarq {
namespace {

// There is no console to print the usage on: --help and usage errors show it.
constexpr std::string_view kUsage =
    "使い方: fenmarq [フォルダ] [ファイル...]\n"
    "フォルダを指定するとそのフォルダで、ファイルだけを指定すると最初のファイルのあるフォルダで"
    "作業します。指定したファイルは順に一覧に加えます。";

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

int COrvatchApp::run() {
  const std::vector<std::string> args = commandLineArguments();
  if (windowRequestOf(args) != WindowRequest::kOpen) {
    showMessage("fenmarq " FENMARQ_VERSION "\n\n" + std::string(kUsage), MB_ICONINFORMATION);
    return 0;
  }
  const WindowStart start = windowStartOf(args);
  if (start.error != UsageError::kNone) {
    showMessage(usageErrorText(start, true) + "\n\n" + std::string(kUsage), MB_ICONERROR);
    return 2;
  }
  if (start.folder) {
    if (const std::error_code error = enterStartFolder(*start.folder)) {
      showMessage(startFolderFailure(*start.folder, error, true), MB_ICONERROR);
      return 1;
    }
  }
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  COrvatchDlg dialog;
  dialog.addTargets(start.entries);
  // Now and then the system fails to create a dialog at the first attempt.
  if (dialog.runModal() || dialog.runModal()) return 0;
  showMessage(
      "ウィンドウを作成できませんでした（エラー番号 " + std::to_string(GetLastError()) + "）。",
      MB_ICONERROR);
  return 1;
}

}  // namespace fenmarq
