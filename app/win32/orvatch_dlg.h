// The main window: finds observation files, keeps the list of files to
// convert and shows the log of the conversion, on dialog template
// IDD_ORVATCH_DIALOG. What it does is the DialogModel's; the window passes
// the user's commands on and shows the model. A BatchSession runs the
// conversion and shows it through the dialog.
#ifndef FENMARQ_APP_WIN32_ORVATCH_DLG_H_
#define FENMARQ_APP_WIN32_ORVATCH_DLG_H_

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_session.h"
#include "app/dialog_model.h"
#include "app/win32/file_picker.h"

namespace fenmarq {

class COrvatchDlg final : public BatchWindow {
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

  // BatchWindow.
  void lockInput(bool locked) override;
  void appendLog(std::string_view text) override;
  void setLogLimit(std::size_t characters) override;
  void selectRow(std::size_t index) override;
  void setTitle(std::string_view title) override;
  void showFields(const DialogModel::Fields& fields) override;
  void showMessageBox(std::string_view text) override;
  void wake() override;
  void wakeAfter(std::chrono::milliseconds delay) override;

 private:
  static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam);
  void initDialog();
  bool command(int id);
  void paintMinimised();

  void searchFile();
  void addTarget();
  void addDropped(HDROP drop);
  void deleteTarget();
  void end();

  HWND control(int id) const { return GetDlgItem(window_, id); }
  // Adds `path` to the list; fitListExtent then lets the list scroll to its end.
  void appendEntry(const std::wstring& path);
  void fitListExtent();

  std::unique_ptr<FilePicker> picker_;
  DialogModel model_;
  BatchSession session_;
  HICON icon_;
  HWND window_ = nullptr;
  bool modal_ = false;
  // The control that had the focus when a batch began: it has it again at
  // the end, so that the keyboard acts at once.
  HWND focusBeforeBatch_ = nullptr;
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_WIN32_ORVATCH_DLG_H_
