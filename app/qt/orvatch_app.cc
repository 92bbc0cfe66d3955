#include "app/qt/orvatch_app.h"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QStringList>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/command_line.h"
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

std::optional<int> COrvatchApp::answerWithoutWindow(int argc, char** argv) {
  const WindowRequest request = windowRequestOf(std::vector<std::string>(argv + 1, argv + argc));
  if (request == WindowRequest::kOpen) return std::nullopt;
  const std::string_view text = request == WindowRequest::kHelp
                                    ? windowHelp(japaneseMessages())
                                    : std::string_view("fenmarq " FENMARQ_VERSION "\n");
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return std::fflush(stdout) == 0 && written ? 0 : 1;
}

int COrvatchApp::run() {
  // Qt has taken its own options out of the arguments.
  std::vector<std::string> args;
  for (const QString& arg : arguments().mid(1)) args.push_back(arg.toStdString());
  const WindowStart start = windowStartOf(args);
  // A terminal user reads standard error in the language of the locale, as
  // --help speaks; the message box, like the whole window, is Japanese.
  const bool japanese = japaneseMessages();
  if (start.error != UsageError::kNone) {
    std::fprintf(stderr, "fenmarq: %s\n%s\n", usageErrorText(start, japanese).c_str(),
                 japanese ? "使い方は 'fenmarq --help' で表示されます。" : "Try 'fenmarq --help'.");
    return 2;
  }
  if (start.folder) {
    if (const std::error_code error = enterStartFolder(*start.folder)) {
      // Started from a file manager or the menu, the message box is all the
      // user sees; from a terminal, standard error says it too.
      std::fprintf(stderr, "fenmarq: %s\n",
                   startFolderFailure(*start.folder, error, japanese).c_str());
      QMessageBox box(QMessageBox::Critical, QStringLiteral("fenmarq"),
                      QString::fromStdString(startFolderFailure(*start.folder, error, true)),
                      QMessageBox::Ok);
      box.setTextFormat(Qt::PlainText);
      box.exec();
      return 1;
    }
  }
  COrvatchDlg dialog;
  QStringList entries;
  for (const std::string& entry : start.entries) entries.append(QString::fromStdString(entry));
  dialog.addTargets(entries);
  dialog.exec();
  // Nothing is kept: closing the dialog, however it is closed, ends the
  // program normally.
  return 0;
}

}  // namespace fenmarq
