// The application: runs the main dialog, and the program ends with it.
#ifndef FENMARQ_APP_WIN32_ORVATCH_APP_H_
#define FENMARQ_APP_WIN32_ORVATCH_APP_H_

namespace fenmarq {

class COrvatchApp {
 public:
  // Enters the start folder of the command line, if any, shows the main
  // dialog and returns the exit status once it is closed.
  int run();
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_WIN32_ORVATCH_APP_H_
