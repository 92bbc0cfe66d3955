#include "app/orvatch_app.h"

#include "app/app_icon.h"
#include "app/orvatch_dlg.h"

namespace fenmarq {

COrvatchApp::COrvatchApp(int& argc, char** argv) : QApplication(argc, argv) {
  setWindowIcon(applicationIcon());
}

int COrvatchApp::run() {
  COrvatchDlg dialog;
  dialog.exec();
  // Nothing is kept: closing the dialog, however it is closed, ends the
  // program normally.
  return 0;
}

}  // namespace fenmarq
