// The version dialog, on dialog template IDD_ABOUTBOX.
#ifndef FENMARQ_APP_WIN32_ABOUT_DLG_H_
#define FENMARQ_APP_WIN32_ABOUT_DLG_H_

#include <windows.h>

namespace fenmarq {

class CAboutDlg {
 public:
  // Shows the dialog, owned by `owner`, until OK, Esc or the close box.
  void runModal(HWND owner);
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_WIN32_ABOUT_DLG_H_
