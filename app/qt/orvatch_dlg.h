// The main window: finds observation files, keeps the list of files to
// convert and shows the log of the conversion. What it does is the
// DialogModel's; the window passes the user's commands on and shows the
// model. A BatchSession runs the conversion and shows it through the dialog.
#ifndef FENMARQ_APP_QT_ORVATCH_DLG_H_
#define FENMARQ_APP_QT_ORVATCH_DLG_H_

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "app/batch_session.h"
#include "app/dialog_model.h"
#include "app/qt/file_picker.h"

class QLineEdit;

namespace fenmarq {

class LogEdit;
class TargetList;

class COrvatchDlg final : public QDialog, public BatchWindow {
  Q_OBJECT

 public:
  // Takes the current directory as the start directory of every batch.
  explicit COrvatchDlg(std::unique_ptr<FilePicker> picker = makeOpenFileDialog(),
                       QWidget* parent = nullptr);
  ~COrvatchDlg() override;

  // BatchWindow.
  void lockInput(bool locked) override;
  void appendLog(std::string_view text) override;
  void setLogLimit(std::size_t characters) override;
  void selectRow(std::size_t index) override;
  void setTitle(std::string_view title) override;
  void showFields(const DialogModel::Fields& fields) override;
  void showMessageBox(std::string_view text) override;
  void batchEnded() override;
  void wake() override;
  void wakeAfter(std::chrono::milliseconds delay) override;

  bool batchRunning() const { return model_.batchRunning(); }

  // Appends `paths` to the list in order, as a drop onto it does.
  void addTargets(const QStringList& paths);

 signals:
  void batchFinished();

 public slots:
  // Esc does nothing while a batch runs.
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void searchFile();
  void addTarget();
  void deleteTarget();
  void showVersionDialog();

  std::unique_ptr<FilePicker> picker_;
  DialogModel model_;
  BatchSession session_;

  LogEdit* log_;
  // The control that had the focus when a batch began: it has it again at
  // the end, so that the keyboard acts at once.
  QPointer<QWidget> focusBeforeBatch_;
  QLineEdit* path_;
  TargetList* targets_;
  // File name, kind, interval, year, month-day and station.
  std::array<QLineEdit*, 6> fields_;
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_ORVATCH_DLG_H_
