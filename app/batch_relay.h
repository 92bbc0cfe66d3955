// The window as the batch's LogPane and BatchView, seen from the batch's
// thread: each call is handed to `runOnWindowThread`, which carries it out on
// the user-interface thread and returns once it has run (so a message box
// holds the batch until it is dismissed, and a text need not be copied).
#ifndef FENMARQ_APP_BATCH_RELAY_H_
#define FENMARQ_APP_BATCH_RELAY_H_

#include <cstddef>
#include <functional>
#include <string_view>
#include <utility>

#include "convert/batch_view.h"
#include "convert/log_pane.h"

namespace fenmarq {

class BatchRelay final : public LogPane, public BatchView {
 public:
  using Call = std::function<void()>;
  using Runner = std::function<void(const Call&)>;

  BatchRelay(LogPane& log, BatchView& view, Runner runOnWindowThread)
      : log_(log), view_(view), runOnWindowThread_(std::move(runOnWindowThread)) {}

  void append(std::string_view text) override {
    runOnWindowThread_([&] { log_.append(text); });
  }
  void setLimit(std::size_t characters) override {
    runOnWindowThread_([&] { log_.setLimit(characters); });
  }
  void selectEntry(std::size_t index) override {
    runOnWindowThread_([&] { view_.selectEntry(index); });
  }
  void showFields(const ObservationFileName& name) override {
    runOnWindowThread_([&] { view_.showFields(name); });
  }
  void showMessageBox(std::string_view text) override {
    runOnWindowThread_([&] { view_.showMessageBox(text); });
  }

 private:
  LogPane& log_;
  BatchView& view_;
  Runner runOnWindowThread_;
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_BATCH_RELAY_H_
