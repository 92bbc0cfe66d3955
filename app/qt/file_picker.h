// Asking the user for one file to open. Abstract so that tests can answer
// in the user's place.
#ifndef FENMARQ_APP_QT_FILE_PICKER_H_
#define FENMARQ_APP_QT_FILE_PICKER_H_

#include <QString>
#include <memory>
#include <optional>

class QFileDialog;
class QWidget;

namespace fenmarq {

class FilePicker {
 public:
  virtual ~FilePicker() = default;
  // The chosen file's full path, or nothing when the user cancelled.
  virtual std::optional<QString> pickFile(QWidget* owner) = 0;
};

// The platform's open-file dialog, starting in the current directory, and
// after that where the last file was picked.
std::unique_ptr<FilePicker> makeOpenFileDialog();

// Sets `dialog` up for the file search: open one existing file, with one
// filter, "All files (*.*) ", that lists every file.
void setUpFileSearch(QFileDialog& dialog);

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_FILE_PICKER_H_
