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
#include "app/window_launch.h"

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
  return std::fflush(stdout) == 0 && written ? kWindowDone : kWindowNotStarted;
}

int COrvatchApp::run() {
  // Qt has taken its own options out of the arguments.
  std::vector<std::string> args;
  for (const QString& arg : arguments().mid(1)) args.push_back(arg.toStdString());
  return launchWindow(windowStartOf(args), *this);
}

// A terminal user reads standard error in the language of the locale, as
// --help speaks; the message box, like the whole window, is Japanese.
void COrvatchApp::showUsageError(const WindowStart& start) {
  const bool japanese = japaneseMessages();
  const std::string text = "fenmarq: " + usageErrorText(start, japanese) + "\n" +
                           std::string(windowHelpHint(japanese)) + "\n";
  std::fputs(text.c_str(), stderr);
}

// Started from a file manager or the menu, the message box is all the user
// sees; from a terminal, standard error says it too.
void COrvatchApp::showStartFolderFailure(const std::string& folder, std::error_code error) {
  std::fprintf(stderr, "fenmarq: %s\n",
               startFolderFailure(folder, error, japaneseMessages()).c_str());
  QMessageBox box(QMessageBox::Critical, QStringLiteral("fenmarq"),
                  QString::fromStdString(startFolderFailure(folder, error, true)), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

// Nothing is kept: closing the dialog, however it is closed, ends the
// program normally.
bool COrvatchApp::runDialog(const std::vector<std::string>& entries) {
  COrvatchDlg dialog;
  QStringList listed;
  for (const std::string& entry : entries) listed.append(QString::fromStdString(entry));
  dialog.addTargets(listed);
  dialog.exec();
  return true;
}

}  // namespace fenmarq
