#include "app/qt/orvatch_app.h"

#include <QLibraryInfo>

#include "app/qt/app_icon.h"
#include "app/qt/orvatch_dlg.h"

namespace fenmarq {

bool installJapaneseQtTexts(QTranslator& translator) {
  return translator.load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
         QCoreApplication::installTranslator(&translator);
}

COrvatchApp::COrvatchApp(int& argc, char** argv) : QApplication(argc, argv) {
  setWindowIcon(applicationIcon());
  installJapaneseQtTexts(qtTranslations_);  // without them, the texts stay English
}

int COrvatchApp::run() {
  COrvatchDlg dialog;
  dialog.exec();
  // Nothing is kept: closing the dialog, however it is closed, ends the
  // program normally.
  return 0;
}

}  // namespace fenmarq
