#include "app/window_launch.h"

#include "app/start_folder.h"

namespace fenmarq {

WindowExitStatus launchWindow(const WindowStart& start, WindowToolkit& toolkit) {
  if (start.error != UsageError::kNone) {
    toolkit.showUsageError(start);
    return kWindowUsageError;
  }
  // Entered first, so that the window works there as if started in it.
  if (start.folder) {
    if (const std::error_code error = enterStartFolder(*start.folder)) {
      toolkit.showStartFolderFailure(*start.folder, error);
      return kWindowNotStarted;
    }
  }
  return toolkit.runDialog(start.entries) ? kWindowDone : kWindowNotStarted;
}

}  // namespace fenmarq
