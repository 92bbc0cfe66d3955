// The application: runs the main dialog, and the program ends with it.
#ifndef FENMARQ_APP_QT_ORVATCH_APP_H_
#define FENMARQ_APP_QT_ORVATCH_APP_H_

#include <QApplication>
#include <QTranslator>

namespace fenmarq {

class COrvatchApp final : public QApplication {
  Q_OBJECT

 public:
  COrvatchApp(int& argc, char** argv);

  // Reads the command line, `fenmarq [FOLDER]`: with a folder, enters it
  // first, so that the window works there as if started in it. Then shows
  // the main dialog and returns the exit status once it is closed.
  int run();

 private:
  QTranslator qtTranslations_;
};

// Loads Qt's own Japanese texts into `translator` and installs it, whatever
// the system's language: the standard dialogs and menus then speak Japanese
// like the rest of the window. False when they are not installed.
bool installJapaneseQtTexts(QTranslator& translator);

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_ORVATCH_APP_H_
