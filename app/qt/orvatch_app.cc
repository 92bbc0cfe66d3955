#include "app/qt/orvatch_app.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <cstdio>
#include <string>

#include "app/qt/app_icon.h"
#include "app/qt/orvatch_dlg.h"
#include "app/start_folder.h"

namespace fenmarq {

bool installJapaneseQtTexts(QTranslator& translator) {
  return translator.load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
         QCoreApplication::installTranslator(&translator);
}

COrvatchApp::COrvatchApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationVersion(QStringLiteral(FENMARQ_VERSION));
  // Wayland matches the window to its desktop entry, and so to its icon and
  // name in the menu, by this name.
  setDesktopFileName(QStringLiteral(FENMARQ_APP_ID));
  setWindowIcon(applicationIcon());
  installJapaneseQtTexts(qtTranslations_);  // without them, the texts stay English
}

int COrvatchApp::run() {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Converts JMA observation files into CSV sheets, writing them under the "
                     "start folder: FOLDER if given, else the current folder."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FOLDER"),
                               QStringLiteral("the start folder, holding HEXFiles, CSVFiles "
                                              "and CHKFiles"),
                               QStringLiteral("[FOLDER]"));
  parser.process(*this);  // --help and --version, and unknown options, end the program here
  const QStringList folders = parser.positionalArguments();
  if (folders.size() > 1) {
    std::fputs("fenmarq: one start folder at most\nTry 'fenmarq --help'.\n", stderr);
    return 2;
  }
  if (!folders.isEmpty()) {
    const std::string failure = enterStartFolder(folders.front().toStdString());
    if (!failure.empty()) {
      // Started from a file manager or the menu, the message box is all the
      // user sees; from a terminal, standard error says it too.
      std::fprintf(stderr, "fenmarq: %s\n", failure.c_str());
      QMessageBox box(QMessageBox::Critical, QStringLiteral("fenmarq"),
                      QString::fromUtf8(kStartFolderFailure.data(), kStartFolderFailure.size()) +
                          u'\n' + QString::fromStdString(failure),
                      QMessageBox::Ok);
      box.setTextFormat(Qt::PlainText);
      box.exec();
      return 1;
    }
  }
  COrvatchDlg dialog;
  dialog.exec();
  // Nothing is kept: closing the dialog, however it is closed, ends the
  // program normally.
  return 0;
}

}  // namespace fenmarq
