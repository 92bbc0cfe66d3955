// The application: runs the main dialog, and the program ends with it.
#ifndef FENMARQ_APP_QT_ORVATCH_APP_H_
#define FENMARQ_APP_QT_ORVATCH_APP_H_

#include <QApplication>
#include <QTranslator>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/window_launch.h"

namespace fenmarq {

class COrvatchApp final : public QApplication, private WindowToolkit {
  Q_OBJECT

 public:
  COrvatchApp(int& argc, char** argv);

  // --help and --version: prints the answer and gives the exit status,
  // before any application exists, so that no display is needed. Nothing
  // when the window is to open.
  static std::optional<int> answerWithoutWindow(int argc, char** argv);

  // Reads the command line, `fenmarq [FOLDER] [FILE...]`: enters the start
  // folder first, so that the window works there as if started in it, and
  // lists the files. Then shows the main dialog and returns the exit status
  // once it is closed.
  int run();

 private:
  void showUsageError(const WindowStart& start) override;
  void showStartFolderFailure(const std::string& folder, std::error_code error) override;
  bool runDialog(const std::vector<std::string>& entries) override;

  QTranslator qtTranslations_;
};

// Loads Qt's own Japanese texts into `translator` and installs it, whatever
// the system's language: the standard dialogs and menus then speak Japanese
// like the rest of the window. False when they are not installed.
bool installJapaneseQtTexts(QTranslator& translator);

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_ORVATCH_APP_H_
