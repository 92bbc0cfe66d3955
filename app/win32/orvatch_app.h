// The application: runs the main dialog, and the program ends with it.
#ifndef FENMARQ_APP_WIN32_ORVATCH_APP_H_
#define FENMARQ_APP_WIN32_ORVATCH_APP_H_

#include <string>
#include <system_error>
#include <vector>

#include "app/window_launch.h"

namespace fenmarq {

class COrvatchApp final : private WindowToolkit {
 public:
  // Reads the command line, `fenmarq [FOLDER] [FILE...]`: enters the start
  // folder first, so that the window works there as if started in it, and
  // lists the files. Then shows the main dialog and returns the exit status
  // once it is closed.
  int run();

 private:
  void showUsageError(const WindowStart& start) override;
  void showStartFolderFailure(const std::string& folder, std::error_code error) override;
  bool runDialog(const std::vector<std::string>& entries) override;
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_WIN32_ORVATCH_APP_H_
