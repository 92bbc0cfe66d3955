#include "app/file_picker.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace fenmarq {
namespace {

// "*.*" would hide names without a dot on POSIX, so the pattern behind the
// familiar label is "*". Only the label is shown.
constexpr char kAllFilesFilter[] = "All files (*.*) (*)";

// Opens where the last file was picked, for as long as the window lives;
// the first time, in the current directory.
class OpenFileDialog final : public FilePicker {
 public:
  std::optional<QString> pickFile(QWidget* owner) override {
    QFileDialog dialog(owner);
    setUpFileSearch(dialog);
    if (!lastFolder_.isEmpty()) dialog.setDirectory(lastFolder_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    lastFolder_ = QFileInfo(chosen.front()).absolutePath();
    return chosen.front();
  }

 private:
  QString lastFolder_;
};

}  // namespace

std::unique_ptr<FilePicker> makeOpenFileDialog() { return std::make_unique<OpenFileDialog>(); }

void setUpFileSearch(QFileDialog& dialog) {
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilter(QString::fromLatin1(kAllFilesFilter));
}

}  // namespace fenmarq
