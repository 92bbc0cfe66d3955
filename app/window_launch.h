// From the window's command line to its exit status, whatever the toolkit:
// a usage error is said, else the start folder is entered and the main
// dialog runs until it is closed. Each toolkit only shows what it is told.
#ifndef FENMARQ_APP_WINDOW_LAUNCH_H_
#define FENMARQ_APP_WINDOW_LAUNCH_H_

#include <string>
#include <system_error>
#include <vector>

#include "app/command_line.h"

namespace fenmarq {

// The exit statuses that `fenmarq --help` lists.
enum WindowExitStatus {
  kWindowDone = 0,        // the window was closed, or the help or version shown
  kWindowNotStarted = 1,  // the start folder cannot be entered, no window could be made, or
                          // the help could not be written
  kWindowUsageError = 2,
};

class WindowToolkit {
 public:
  virtual ~WindowToolkit() = default;
  // Says what is wrong with the command line (start.error is not kNone).
  virtual void showUsageError(const WindowStart& start) = 0;
  // Says why `folder` cannot be entered.
  virtual void showStartFolderFailure(const std::string& folder, std::error_code error) = 0;
  // Shows the main dialog with `entries` in its list until it is closed;
  // false when it could not be shown.
  virtual bool runDialog(const std::vector<std::string>& entries) = 0;
};

WindowExitStatus launchWindow(const WindowStart& start, WindowToolkit& toolkit);

}  // namespace fenmarq

#endif  // FENMARQ_APP_WINDOW_LAUNCH_H_
