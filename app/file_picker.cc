#include "app/file_picker.h"

#include <QFileDialog>
#include <QStringList>

namespace fenmarq {
namespace {

// "*.*" would hide names without a dot on POSIX, so the pattern behind the
// familiar label is "*". Only the label is shown.
constexpr char kAllFilesFilter[] = "All files (*.*) (*)";

class OpenFileDialog final : public FilePicker {
 public:
  std::optional<QString> pickFile(QWidget* owner) override {
    QFileDialog dialog(owner);
    setUpFileSearch(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.front();
  }
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
