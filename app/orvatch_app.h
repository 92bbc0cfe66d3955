// The application: runs the main dialog, and the program ends with it.
#ifndef FENMARQ_APP_ORVATCH_APP_H_
#define FENMARQ_APP_ORVATCH_APP_H_

#include <QApplication>

namespace fenmarq {

class COrvatchApp final : public QApplication {
  Q_OBJECT

 public:
  COrvatchApp(int& argc, char** argv);

  // Shows the main dialog and returns the exit status once it is closed.
  int run();
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_ORVATCH_APP_H_
