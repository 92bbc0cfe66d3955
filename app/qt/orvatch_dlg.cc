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
#include <QTimer>
#include <iterator>

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

// The controls' rectangles in dialog units.
struct Place {
  int x, y, width, height;
};

QLineEdit* addLineEdit(QWidget* parent, const char* id, const DialogUnits& units, Place at) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(id));
  edit->setGeometry(units.rect(at.x, at.y, at.width, at.height));
  return edit;
}

QPushButton* addButton(QWidget* parent, const char* id, const QString& text,
                       const DialogUnits& units, Place at) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(id));
  button->setGeometry(units.rect(at.x, at.y, at.width, at.height));
  // No button is the default, nor drawn as one: Enter presses a button only
  // while it has the focus (see keyPressEvent).
  button->setAutoDefault(false);
  return button;
}

// The explanations around the controls; "\n" breaks a line, and the
// backslashes in front of CSVFiles and HEXFiles are part of the text.
struct StaticText {
  const char* text;
  Place at;
};
constexpr StaticText kStaticTexts[] = {
    {"１．右上の”ファイル検索”で変換するファイルを見つける。", {20, 54, 261, 14}},
    {"気象庁の風データ(バイナリデータ)を\nCSVファイルに変換します\n（エクセルで読めます。）",
     {22, 7, 114, 27}},
    {"変換後は、サブフォルダ\n\n\\CSVFiles\n\\HEXFiles\n\nに保存されます。\n\n"
     "同名ファイルは上書きされます。",
     {385, 210, 94, 75}},
    {"２．”上のファイルを変換対象とする”をクリックする。", {20, 73, 261, 14}},
    {"３．”変換開始”をクリックする。", {20, 91, 261, 14}},
    {"４．サブファルダにCSVファイルと１６進表示のテキストファイルができます。", {20, 112, 261, 14}},
};

void addStaticText(QWidget* parent, const StaticText& text, const DialogUnits& units) {
  const Place at = text.at;
  auto* label = new QLabel(QString::fromUtf8(text.text), parent);
  label->setObjectName(QStringLiteral("IDC_STATIC"));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);
  label->setGeometry(units.rect(at.x, at.y, at.width, at.height));
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
  setFixedSize(units.size(510, 357));

  // The controls, created in tab order.
  log_ = new LogEdit(this);
  log_->setObjectName(QStringLiteral("IDC_LOG"));
  log_->setGeometry(units.rect(15, 140, 301, 202));
  path_ = addLineEdit(this, "IDC_SBIN", units, {372, 26, 110, 14});
  QPushButton* add =
      addButton(this, "IDC_ADDTARGET", QStringLiteral("上のファイルを変換対象とする"), units,
                {370, 47, 110, 17});
  targets_ = new TargetList(this);
  targets_->setObjectName(QStringLiteral("IDC_TARGETLIST"));
  targets_->setGeometry(units.rect(370, 65, 110, 106));
  QPushButton* remove =
      addButton(this, "IDC_DELETE", QStringLiteral("削除"), units, {481, 65, 22, 42});
  QPushButton* search =
      addButton(this, "IDC_SEARCH", QStringLiteral("ファイル検索"), units, {388, 7, 71, 13});
  QPushButton* start =
      addButton(this, "IDC_START", QStringLiteral("変換開始"), units, {382, 178, 84, 18});
  fields_ = {addLineEdit(this, "IDC_FILENAME", units, {205, 7, 157, 14}),
             addLineEdit(this, "IDC_KIND", units, {205, 25, 28, 14}),
             addLineEdit(this, "IDC_INTERVAL", units, {234, 25, 28, 14}),
             addLineEdit(this, "IDC_YEAR", units, {265, 25, 34, 14}),
             addLineEdit(this, "IDC_MONTHDAY", units, {301, 25, 28, 14}),
             addLineEdit(this, "IDC_STATION", units, {331, 25, 32, 14})};
  for (const StaticText& label : kStaticTexts) addStaticText(this, label, units);

  QWidget* tabOrder[] = {log_,       path_,      add,        targets_,   remove,
                         search,     start,      fields_[0], fields_[1], fields_[2],
                         fields_[3], fields_[4], fields_[5]};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
    setTabOrder(tabOrder[i - 1], tabOrder[i]);
  }
  log_->setFocus();

  connect(search, &QPushButton::clicked, this, &COrvatchDlg::searchFile);
  connect(add, &QPushButton::clicked, this, &COrvatchDlg::addTarget);
  connect(remove, &QPushButton::clicked, this, &COrvatchDlg::deleteTarget);
  connect(targets_, &TargetList::deleteRequested, this, &COrvatchDlg::deleteTarget);
  connect(targets_, &TargetList::filesDropped, this, &COrvatchDlg::addTargets);
  connect(start, &QPushButton::clicked, this, [this] { session_.start(); });
  addVersionMenuItem(*this, [this] { showVersionDialog(); });
}

COrvatchDlg::~COrvatchDlg() = default;

void COrvatchDlg::lockInput(bool locked) {
  for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control != log_) control->setEnabled(!locked);
  }
  // The log stays enabled, so that it can be scrolled and read, but takes no
  // keys; the version item of the context menu is off.
  log_->setReadOnly(locked);
  for (QAction* action : actions()) action->setEnabled(!locked);
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
  if (batchRunning()) return;
  CAboutDlg about(this);
  about.exec();
}

void COrvatchDlg::showFields(const DialogModel::Fields& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) setFieldText(fields_[i], fields[i]);
}

}  // namespace fenmarq
