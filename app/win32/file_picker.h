// Asking the user for one file to open. Abstract so that tests can answer
// in the user's place.
#ifndef FENMARQ_APP_WIN32_FILE_PICKER_H_
#define FENMARQ_APP_WIN32_FILE_PICKER_H_

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace fenmarq {

class FilePicker {
 public:
  virtual ~FilePicker() = default;
  // The chosen file's full path (UTF-8), or nothing when the user cancelled.
  virtual std::optional<std::string> pickFile(HWND owner) = 0;
};

// The system's open-file dialog with the filter "All files (*.*) ".
std::unique_ptr<FilePicker> makeOpenFileDialog();

}  // namespace fenmarq

#endif  // FENMARQ_APP_WIN32_FILE_PICKER_H_
