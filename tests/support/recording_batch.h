// A log and a view that record everything the batch driver tells them.
#ifndef FENMARQ_TESTS_SUPPORT_RECORDING_BATCH_H_
#define FENMARQ_TESTS_SUPPORT_RECORDING_BATCH_H_

#include <string>
#include <vector>

#include "convert/batch_view.h"
#include "convert/log_pane.h"

namespace fenmarq::testing {

class RecordingLog final : public LogPane {
 public:
  void append(std::string_view text) override { texts.emplace_back(text); }
  void setLimit(std::size_t characters) override { limit = characters; }

  // Everything appended, in order, as one text.
  std::string joined() const {
    std::string all;
    for (const std::string& text : texts) all += text;
    return all;
  }

  std::vector<std::string> texts;
  std::size_t limit = 0;
};

class RecordingView final : public BatchView {
 public:
  void selectEntry(std::size_t index) override { selected.push_back(index); }
  void showFields(const ObservationFileName& name) override { fields.push_back(name); }
  void showMessageBox(std::string_view text) override { messages.emplace_back(text); }

  std::vector<std::size_t> selected;
  std::vector<ObservationFileName> fields;
  std::vector<std::string> messages;
};

}  // namespace fenmarq::testing

#endif  // FENMARQ_TESTS_SUPPORT_RECORDING_BATCH_H_
