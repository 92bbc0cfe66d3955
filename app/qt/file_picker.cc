#include "app/qt/file_picker.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace fenmarq {
namespace {

// "*.*" would hide names without a dot on POSIX, so the pattern behind the
// familiar label is "*". Only the label is shown.
constexpr char kAllFilesFilter[] = "All files (*.*) (*)";
// The label as the window has always shown it, trailing space included.
constexpr char kAllFilesLabel[] = "All files (*.*) ";

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
  // Qt trims the labels it cuts from filters; its own dialog's list of file
  // types takes the label back whole (a platform dialog keeps Qt's).
  if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
    types->setItemText(0, QString::fromLatin1(kAllFilesLabel));
  }
}

}  // namespace fenmarq
