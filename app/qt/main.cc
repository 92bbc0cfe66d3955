// fenmarq: the window for converting observation files one list at a time.
#include "app/qt/orvatch_app.h"

int main(int argc, char** argv) {
  fenmarq::COrvatchApp app(argc, argv);
  return app.run();
}
