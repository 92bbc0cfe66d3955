// The main window: finds observation files, keeps the list of files to
// convert and shows the log of the conversion. What it does is the
// DialogModel's; the window passes the user's commands on and shows the
// model. The conversion itself is the core's BatchConverter, run on a thread
// of its own; the dialog serves as its LogPane and BatchView on the
// user-interface thread.
#ifndef FENMARQ_APP_QT_ORVATCH_DLG_H_
#define FENMARQ_APP_QT_ORVATCH_DLG_H_

#include <QDialog>
#include <QStringList>
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "app/batch_relay.h"
#include "app/dialog_model.h"
#include "app/qt/file_picker.h"
#include "convert/batch_result.h"
#include "convert/batch_view.h"
#include "convert/log_pane.h"

class QLineEdit;

namespace fenmarq {

class LogEdit;
class TargetList;

class COrvatchDlg final : public QDialog, public LogPane, public BatchView {
  Q_OBJECT

 public:
  // Takes the current directory as the start directory of every batch.
  explicit COrvatchDlg(std::unique_ptr<FilePicker> picker = makeOpenFileDialog(),
                       QWidget* parent = nullptr);
  ~COrvatchDlg() override;

  // LogPane, on the log pane.
  void append(std::string_view text) override;
  void setLimit(std::size_t characters) override;

  // BatchView.
  void selectEntry(std::size_t index) override;
  void showFields(const ObservationFileName& name) override;
  void showMessageBox(std::string_view text) override;

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
  void startConversion();
  void showVersionDialog();

  void displayFields(const DialogModel::Fields& fields);
  void finishBatch(const BatchResult& result);

  std::unique_ptr<FilePicker> picker_;
  DialogModel model_;
  BatchRelay relay_;
  std::jthread batch_;  // the running batch's thread

  LogEdit* log_;
  QLineEdit* path_;
  TargetList* targets_;
  // File name, kind, interval, year, month-day and station.
  std::array<QLineEdit*, 6> fields_;
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_ORVATCH_DLG_H_
