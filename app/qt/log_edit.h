// The log pane: a multi-line edit that the batch appends to and the user may
// also type into.
#ifndef FENMARQ_APP_QT_LOG_EDIT_H_
#define FENMARQ_APP_QT_LOG_EDIT_H_

#include <QPlainTextEdit>
#include <QString>
#include <cstddef>
#include <string_view>

namespace fenmarq {

class LogEdit final : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LogEdit(QWidget* parent = nullptr);

  // Moves the caret to the end, scrolls to it and inserts `text` (UTF-8)
  // there. The insertion cannot be undone. Whatever the user typed stays.
  void appendText(std::string_view text);

  // The largest number of characters the pane holds; appended text that
  // does not fit is cut.
  void setLimit(std::size_t characters);

 private:
  std::size_t limit_;
};

// What the pane shows for `text`. The log texts are written for an edit
// control in which only "\r\n" breaks a line: a "\r" or "\n" on its own
// shows nothing. A pair split across two appends is not joined; the batch
// never splits one.
QString editControlText(std::string_view text);

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_LOG_EDIT_H_
