// What an entry tells the log and the view while it is converted beside
// other entries, kept as typed records until its turn comes.
#ifndef FENMARQ_CONVERT_ENTRY_RECORD_H_
#define FENMARQ_CONVERT_ENTRY_RECORD_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "convert/batch_view.h"
#include "convert/log_pane.h"

namespace fenmarq {

class EntryRecord final : public LogPane, public BatchView {
 public:
  // A text said `times` times in a row is kept once with its count, so that
  // an entry whose check fails at every byte keeps a few records, not one
  // per byte.
  void append(std::string_view text) override { appendRepeated(text, 1); }
  void appendRepeated(std::string_view text, std::size_t times) override {
    if (times == 0) return;
    Text* last = records_.empty() ? nullptr : std::get_if<Text>(&records_.back());
    if (last != nullptr && last->text == text) {
      last->times += times;
    } else {
      records_.emplace_back(Text{std::string(text), times});
    }
  }
  void setLimit(std::size_t) override {}
  void selectEntry(std::size_t index) override { records_.emplace_back(Selection{index}); }
  void showFields(const ObservationFileName& name) override { records_.emplace_back(name); }
  void showMessageBox(std::string_view text) override {
    records_.emplace_back(MessageBox{std::string(text)});
  }

  // Passes everything on, in the order it was said.
  void deliverTo(LogPane& log, BatchView& view) const {
    for (const Record& record : records_) std::visit(Delivery{log, view}, record);
  }

 private:
  struct Text {
    std::string text;
    std::size_t times;
  };
  struct Selection {
    std::size_t index;
  };
  struct MessageBox {
    std::string text;
  };
  using Record = std::variant<Text, Selection, ObservationFileName, MessageBox>;

  struct Delivery {
    LogPane& log;
    BatchView& view;
    void operator()(const Text& t) const { log.appendRepeated(t.text, t.times); }
    void operator()(const Selection& s) const { view.selectEntry(s.index); }
    void operator()(const ObservationFileName& name) const { view.showFields(name); }
    void operator()(const MessageBox& m) const { view.showMessageBox(m.text); }
  };

  std::vector<Record> records_;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_ENTRY_RECORD_H_
