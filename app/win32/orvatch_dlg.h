// The main window: finds observation files, keeps the list of files to
// convert and shows the log of the conversion, on dialog template
// IDD_ORVATCH_DIALOG. What it does is the DialogModel's; the window passes
// the user's commands on and shows the model. The conversion itself is the
// core's BatchConverter, run on a thread of its own; the dialog serves as its
// LogPane and BatchView on the user-interface thread.
#ifndef FENMARQ_APP_WIN32_ORVATCH_DLG_H_
#define FENMARQ_APP_WIN32_ORVATCH_DLG_H_

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/batch_relay.h"
#include "app/dialog_model.h"
#include "app/win32/file_picker.h"
#include "convert/batch_result.h"
#include "convert/batch_view.h"
#include "convert/log_pane.h"

namespace fenmarq {

class COrvatchDlg final : public LogPane, public BatchView {
 public:
  // Takes the current directory as the start directory of every batch.
  explicit COrvatchDlg(std::unique_ptr<FilePicker> picker = makeOpenFileDialog());
  ~COrvatchDlg() override;
  COrvatchDlg(const COrvatchDlg&) = delete;
  COrvatchDlg& operator=(const COrvatchDlg&) = delete;

  // Shows the dialog and returns when the user has closed it; false when it
  // could not be created.
  bool runModal();
  // Creates the dialog without waiting for it (for tests, which then pump
  // the messages); null when it cannot be created.
  HWND create();
  HWND window() const { return window_; }
  bool batchRunning() const { return model_.batchRunning(); }

  // Appends `paths` (UTF-8) to the list in order, as a drop onto it does;
  // before the dialog is created too, which then lists them.
  void addTargets(const std::vector<std::string>& paths);

  // LogPane, on the log edit control.
  void append(std::string_view text) override;
  void setLimit(std::size_t characters) override;

  // BatchView.
  void selectEntry(std::size_t index) override;
  void showFields(const ObservationFileName& name) override;
  void showMessageBox(std::string_view text) override;

 private:
  static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
  void initDialog();
  bool command(int id);
  void paintMinimised();

  void searchFile();
  void addTarget();
  void addDropped(HDROP drop);
  void deleteTarget();
  void startConversion();
  void runOnDialogThread(const std::function<void()>& call);
  void finishBatch(const BatchResult& result);
  void end();

  HWND control(int id) const { return GetDlgItem(window_, id); }
  void displayFields(const DialogModel::Fields& fields);
  // Adds `path` to the list; fitListExtent then lets the list scroll to its end.
  void appendEntry(const std::wstring& path);
  void fitListExtent();
  void enableControls(bool enabled);

  std::unique_ptr<FilePicker> picker_;
  DialogModel model_;
  BatchRelay relay_;
  std::jthread batch_;  // the last batch's thread
  HICON icon_;
  HWND window_ = nullptr;
  bool modal_ = false;
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_WIN32_ORVATCH_DLG_H_
