// fenmarq: the window for converting observation files one list at a time.
#include "app/qt/orvatch_app.h"

int main(int argc, char** argv) {
  if (const std::optional<int> status = fenmarq::COrvatchApp::answerWithoutWindow(argc, argv)) {
    return *status;
  }
  fenmarq::COrvatchApp app(argc, argv);
  return app.run();
}
