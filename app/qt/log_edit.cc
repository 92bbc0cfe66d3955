#include "app/qt/log_edit.h"

#include <QTextCursor>
#include <QTextDocument>
#include <limits>

namespace fenmarq {

LogEdit::LogEdit(QWidget* parent)
    : QPlainTextEdit(parent), limit_(std::numeric_limits<std::size_t>::max()) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Enter breaks the line; Tab moves on to the next control, as in any
  // dialog.
  setTabChangesFocus(true);
}

void LogEdit::appendText(std::string_view text) {
  QString shown = editControlText(text);
  const std::size_t length = static_cast<std::size_t>(document()->characterCount() - 1);
  const std::size_t room = length < limit_ ? limit_ - length : 0;
  if (static_cast<std::size_t>(shown.size()) > room) shown.truncate(static_cast<qsizetype>(room));

  moveCursor(QTextCursor::End);
  ensureCursorVisible();
  // Switching undo off forgets what was recorded so far, so the user can
  // no longer undo past the log either, as with a Windows edit control,
  // which empties its undo buffer on a replacement that cannot be undone.
  document()->setUndoRedoEnabled(false);
  insertPlainText(shown);
  document()->setUndoRedoEnabled(true);
  ensureCursorVisible();
}

void LogEdit::setLimit(std::size_t characters) { limit_ = characters; }

QString editControlText(std::string_view text) {
  const QString all = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QString shown;
  shown.reserve(all.size());
  for (qsizetype i = 0; i < all.size(); ++i) {
    if (all[i] == u'\r' && i + 1 < all.size() && all[i + 1] == u'\n') {
      shown += u'\n';
      ++i;
    } else if (all[i] != u'\r' && all[i] != u'\n') {
      shown += all[i];
    }
  }
  return shown;
}

}  // namespace fenmarq
