#include "app/qt/orvatch_dlg.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "app/dialog_layout.h"
#include "app/qt/about_dlg.h"
#include "app/qt/app_icon.h"
#include "app/qt/dialog_units.h"
#include "app/qt/log_edit.h"
#include "app/qt/target_list.h"
#include "app/qt/version_menu.h"
#include "convert/observation_file_name.h"
#include "convert/output_folders.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

// A widget of the control's kind, with its text. Buttons are not default
// buttons, nor drawn as one: Enter presses a button only while it has the
// focus (see keyPressEvent).
QWidget* makeControl(const DialogControl& control, QWidget* parent) {
  const QString text = QString::fromUtf8(control.text);
  switch (control.kind) {
    case ControlKind::kLog:
      return new LogEdit(parent);
    case ControlKind::kEdit:
      return new QLineEdit(parent);
    case ControlKind::kButton: {
      auto* button = new QPushButton(text, parent);
      button->setAutoDefault(false);
      return button;
    }
    case ControlKind::kList:
      return new TargetList(parent);
    case ControlKind::kText: {
      auto* label = new QLabel(text, parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setWordWrap(true);
      return label;
    }
  }
  return nullptr;
}

// The control that the layout names `id`, of the type made for its kind.
template <typename T>
T* controlOf(const QWidget& dialog, const char* id) {
  return dialog.findChild<T*>(QString::fromLatin1(id), Qt::FindDirectChildrenOnly);
}

// Shows the start of the text, as a field does after its text is set.
void setFieldText(QLineEdit* field, const std::string& text) {
  field->setText(QString::fromStdString(text));
  field->setCursorPosition(0);
}

// Message boxes are captioned with the executable's name.
QString applicationCaption() {
  return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

}  // namespace

COrvatchDlg::COrvatchDlg(std::unique_ptr<FilePicker> picker, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      picker_(std::move(picker)),
      model_(QDir::toNativeSeparators(QDir::currentPath()).toStdString()),
      session_(model_, *this) {
  setWindowTitle(QStringLiteral("Fenmarq"));
  setWindowIcon(applicationIcon());
  setFont(dialogFont());
  const DialogUnits units(font());
  setFixedSize(units.size(kMainDialogWidth, kMainDialogHeight));
  // Opens in the middle of its screen's available area, where no window
  // manager places it too (QDialog would leave room for a frame it can only
  // guess); a screen too small for it keeps its top left corner.
  const QRect screenArea = screen()->availableGeometry();
  move(screenArea.left() + std::max(0, (screenArea.width() - width()) / 2),
       screenArea.top() + std::max(0, (screenArea.height() - height()) / 2));

  // The controls, created in tab order, which Qt's focus chain follows.
  for (const DialogControl& control : kMainDialogControls) {
    QWidget* widget = makeControl(control, this);
    widget->setObjectName(QString::fromLatin1(control.id));
    widget->setGeometry(units.rect(control.x, control.y, control.width, control.height));
  }
  log_ = controlOf<LogEdit>(*this, "IDC_LOG");
  path_ = controlOf<QLineEdit>(*this, "IDC_SBIN");
  targets_ = controlOf<TargetList>(*this, "IDC_TARGETLIST");
  fields_ = {
      controlOf<QLineEdit>(*this, "IDC_FILENAME"), controlOf<QLineEdit>(*this, "IDC_KIND"),
      controlOf<QLineEdit>(*this, "IDC_INTERVAL"), controlOf<QLineEdit>(*this, "IDC_YEAR"),
      controlOf<QLineEdit>(*this, "IDC_MONTHDAY"), controlOf<QLineEdit>(*this, "IDC_STATION")};
  log_->setFocus();

  connect(controlOf<QPushButton>(*this, "IDC_SEARCH"), &QPushButton::clicked, this,
          &COrvatchDlg::searchFile);
  connect(controlOf<QPushButton>(*this, "IDC_ADDTARGET"), &QPushButton::clicked, this,
          &COrvatchDlg::addTarget);
  connect(controlOf<QPushButton>(*this, "IDC_DELETE"), &QPushButton::clicked, this,
          &COrvatchDlg::deleteTarget);
  connect(targets_, &TargetList::deleteRequested, this, &COrvatchDlg::deleteTarget);
  connect(targets_, &TargetList::filesDropped, this, &COrvatchDlg::addTargets);
  connect(controlOf<QPushButton>(*this, "IDC_START"), &QPushButton::clicked, this,
          [this] { session_.start(); });
  addVersionMenuItem(*this, [this] { showVersionDialog(); });
}

COrvatchDlg::~COrvatchDlg() = default;

void COrvatchDlg::lockInput(bool locked) {
  if (locked) focusBeforeBatch_ = focusWidget();
  for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control != log_) control->setEnabled(!locked);
  }
  // The log stays enabled, so that it can be scrolled and read, but takes no
  // keys; the version item of the context menu is off.
  log_->setReadOnly(locked);
  for (QAction* action : actions()) action->setEnabled(!locked);
  if (!locked) {
    // Qt moved the focus off the disabled controls: it goes back to where it
    // was, or to 変換開始.
    QWidget* focus = focusBeforeBatch_;
    if (focus == nullptr || !focus->isEnabled()) focus = controlOf<QPushButton>(*this, "IDC_START");
    focus->setFocus();
  }
}

void COrvatchDlg::appendLog(std::string_view text) { log_->appendText(text); }

void COrvatchDlg::setLogLimit(std::size_t characters) { log_->setLimit(characters); }

void COrvatchDlg::selectRow(std::size_t index) {
  targets_->setCurrentRow(static_cast<int>(index));
  targets_->scrollToItem(targets_->currentItem());
}

void COrvatchDlg::setTitle(std::string_view title) {
  setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
}

void COrvatchDlg::showMessageBox(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, applicationCaption(),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                  QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void COrvatchDlg::batchEnded() { emit batchFinished(); }

void COrvatchDlg::wake() {
  QMetaObject::invokeMethod(
      this, [this] { session_.serve(); }, Qt::QueuedConnection);
}

void COrvatchDlg::wakeAfter(std::chrono::milliseconds delay) {
  QTimer::singleShot(delay, this, [this] { session_.serve(); });
}

void COrvatchDlg::keyPressEvent(QKeyEvent* event) {
  // The dialog has no OK button. Enter presses the push button that has the
  // focus and does nothing anywhere else; ending the dialog on Enter would
  // end the program and lose the list and the log. Esc still ends it.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void COrvatchDlg::closeEvent(QCloseEvent* event) {
  // The close box is user input too, which a running batch does not take.
  if (batchRunning()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void COrvatchDlg::reject() {
  if (!batchRunning()) QDialog::reject();
}

void COrvatchDlg::searchFile() {
  const std::optional<QString> chosen = picker_->pickFile(this);
  if (!chosen) return;
  const QString path = QDir::toNativeSeparators(*chosen);
  path_->setText(path);
  path_->setCursorPosition(0);
  showFields(DialogModel::fieldsOf(path.toStdString()));
}

void COrvatchDlg::addTarget() {
  const QString path = path_->text();
  if (!model_.addTarget(path.toStdString())) return;
  targets_->addTarget(path);
  path_->clear();
}

void COrvatchDlg::addTargets(const QStringList& paths) {
  for (const QString& path : paths) {
    if (model_.addTarget(path.toStdString())) targets_->addTarget(path);
  }
}

void COrvatchDlg::deleteTarget() {
  const int row = targets_->selectedItems().isEmpty() ? -1 : targets_->currentRow();
  model_.select(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
  if (const std::optional<std::size_t> deleted = model_.deleteSelected()) {
    targets_->removeEntry(static_cast<int>(*deleted));
  }
}

void COrvatchDlg::showVersionDialog() {
  CAboutDlg about(this);
  about.exec();
}

void COrvatchDlg::showFields(const DialogModel::Fields& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) setFieldText(fields_[i], fields[i]);
}

}  // namespace fenmarq
