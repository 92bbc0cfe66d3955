// What the main window does, apart from any toolkit: the target list and its
// selection, what the fields show for a path, the start command and what the
// window says when a batch is over. Each window (Qt, or Win32 on Windows) is
// a thin view that hands the user's commands to the model and shows what it
// holds.
#ifndef FENMARQ_APP_DIALOG_MODEL_H_
#define FENMARQ_APP_DIALOG_MODEL_H_

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/batch_result.h"
#include "convert/batch_view.h"
#include "convert/log_pane.h"
#include "convert/observation_file_name.h"

namespace fenmarq {

class DialogModel {
 public:
  // File name, kind, interval, year, month-day and station, as the six
  // fields show them.
  using Fields = std::array<std::string, 6>;

  // `startDirectory` (UTF-8) is where every batch writes its outputs.
  explicit DialogModel(std::string startDirectory);

  const std::string& startDirectory() const { return startDirectory_; }

  static Fields fieldsOf(const ObservationFileName& name);
  // What the fields show for a path picked or typed.
  static Fields fieldsOf(std::string_view path);

  // The target list, in the order the entries were added. Nothing is
  // checked: not the file, not its name, not whether the list holds it.
  const std::vector<std::string>& targets() const { return targets_; }
  // Appends `path`; an empty path adds nothing (false).
  bool addTarget(std::string path);
  std::optional<std::size_t> selection() const { return selection_; }
  void select(std::optional<std::size_t> index);
  // Removes the selected entry and returns where it stood; afterwards no
  // entry is selected.
  std::optional<std::size_t> deleteSelected();

  // The start command: the list as it stands now. Until finishBatch, the
  // window takes no input.
  std::vector<std::string> startBatch();
  bool batchRunning() const { return batchSize_.has_value(); }
  // Converts `targets`, as startBatch gave them, in the start directory on the
  // calling thread (the batch's own). Reads nothing that changes during a
  // batch.
  BatchResult runBatch(const std::vector<std::string>& targets, LogPane& log,
                       BatchView& view) const;
  // The batch has reached entry `index`: it becomes the selected one.
  void entryReached(std::size_t index);
  // The batch is over: the message boxes to show, in order (a failure that
  // no log text names; an output another program holds open; which output
  // folders are missing where).
  std::vector<std::string> finishBatch(const BatchResult& result);
  // "Fenmarq", or "Fenmarq – 3 / 30" while a batch is at the third of its
  // thirty entries.
  std::string title() const;

 private:
  std::string startDirectory_;
  std::vector<std::string> targets_;
  std::optional<std::size_t> selection_;
  std::optional<std::size_t> batchSize_;  // while a batch runs
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_DIALOG_MODEL_H_
