#include "app/win32/orvatch_dlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "app/win32/about_dlg.h"
#include "app/win32/resource.h"
#include "app/win32/texts.h"
#include "platform/file_system.h"
#include "platform/utf16_win32.h"

namespace fenmarq {
namespace {

// The dialog's own message and timer: the batch session has news to show.
constexpr UINT kServeBatch = WM_APP;
constexpr UINT_PTR kServeBatchTimer = 1;

// The system-menu command that opens the version dialog; Windows uses the
// lowest four bits of system commands for its own purposes.
constexpr WPARAM kVersionCommand = 0x0010;

// File name, kind, interval, year, month-day and station.
constexpr int kFieldIds[] = {IDC_FILENAME, IDC_KIND,     IDC_INTERVAL,
                             IDC_YEAR,     IDC_MONTHDAY, IDC_STATION};
static_assert(std::size(kFieldIds) == std::tuple_size_v<DialogModel::Fields>);

void setText(HWND control, std::string_view utf8) {
  SetWindowTextW(control, utf16FromUtf8(utf8).c_str());
}

// Message boxes are captioned with the executable's name.
std::wstring applicationCaption() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length;
  while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size()) {
    path.resize(path.size() * 2);
  }
  path.resize(length);
  return std::filesystem::path(path).stem().wstring();
}

// The target list hands files dropped on it and the Delete key to the
// dialog, which handles them as it does the drop and the "削除" button.
LRESULT CALLBACK targetListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
  if (message == WM_DROPFILES) return SendMessageW(GetParent(list), message, wParam, lParam);
  if (message == WM_KEYDOWN && wParam == VK_DELETE) {
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED), 0);
    return 0;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

COrvatchDlg::COrvatchDlg(std::unique_ptr<FilePicker> picker)
    : picker_(std::move(picker)),
      model_(utf8FromPath(std::filesystem::current_path())),
      session_(model_, *this),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

COrvatchDlg::~COrvatchDlg() {
  if (window_ != nullptr && !modal_) DestroyWindow(window_);
}

bool COrvatchDlg::runModal() {
  modal_ = true;
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ORVATCH_DIALOG), nullptr,
                      dialogProc, reinterpret_cast<LPARAM>(this));
  window_ = nullptr;
  return result != -1;
}

HWND COrvatchDlg::create() {
  modal_ = false;
  return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ORVATCH_DIALOG),
                            nullptr, dialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK COrvatchDlg::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<COrvatchDlg*>(lParam)->window_ = window;
  }
  auto* dialog = reinterpret_cast<COrvatchDlg*>(GetWindowLongPtrW(window, DWLP_USER));
  return dialog != nullptr ? dialog->handle(message, wParam) : FALSE;
}

INT_PTR COrvatchDlg::handle(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_INITDIALOG:
      initDialog();
      return TRUE;  // the focus goes to the first control, the log
    case WM_COMMAND:
      return HIWORD(wParam) == BN_CLICKED && command(LOWORD(wParam));
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != kVersionCommand) return FALSE;
      if (!batchRunning()) CAboutDlg().runModal(window_);
      return TRUE;
    case WM_DROPFILES:
      addDropped(reinterpret_cast<HDROP>(wParam));
      return TRUE;
    case WM_PAINT:
      if (!IsIconic(window_)) return FALSE;
      paintMinimised();
      return TRUE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(icon_);
    case WM_TIMER:
      if (wParam != kServeBatchTimer) return FALSE;
      KillTimer(window_, kServeBatchTimer);
      session_.serve();
      return TRUE;
    case kServeBatch:
      session_.serve();
      return TRUE;
    default:
      return FALSE;
  }
}

void COrvatchDlg::initDialog() {
  const std::wstring versionItem = loadResourceString(IDS_ABOUTBOX);
  if (HMENU menu = GetSystemMenu(window_, FALSE); menu != nullptr && !versionItem.empty()) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kVersionCommand, versionItem.c_str());
  }
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  SetWindowSubclass(control(IDC_TARGETLIST), targetListProc, 0, 0);
  // Entries added before the dialog was created: the command line's.
  for (const std::string& path : model_.targets()) appendEntry(utf16FromUtf8(path));
  fitListExtent();
}

bool COrvatchDlg::command(int id) {
  // While a batch runs the window takes no commands (the controls are
  // disabled; this also holds Esc and the close box).
  if (batchRunning()) return true;
  switch (id) {
    case IDOK:
      // Enter outside the buttons and the log. The dialog has no OK button,
      // and ending it would end the program and lose the list and the log.
      return true;
    case IDCANCEL:  // Esc and the close box
      end();
      return true;
    case IDC_SEARCH:
      searchFile();
      return true;
    case IDC_ADDTARGET:
      addTarget();
      return true;
    case IDC_DELETE:
      deleteTarget();
      return true;
    case IDC_START:
      session_.start();
      return true;
    default:
      return false;
  }
}

void COrvatchDlg::paintMinimised() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(window_, &client);
  DrawIcon(dc, (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2,
           (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2, icon_);
  EndPaint(window_, &paint);
}

void COrvatchDlg::lockInput(bool locked) {
  if (locked) focusBeforeBatch_ = GetFocus();
  if (!locked) {
    // Clicks and keys that arrived during the batch and still wait in the
    // queue would otherwise act on the enabled window.
    MSG input;
    while (PeekMessageW(&input, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
    }
  }
  // The log stays enabled, so that it can be scrolled and read, but takes no
  // keys; so does the version item of the system menu.
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (child != control(IDC_LOG)) EnableWindow(child, !locked);
  }
  SendMessageW(control(IDC_LOG), EM_SETREADONLY, locked, 0);
  if (HMENU menu = GetSystemMenu(window_, FALSE); menu != nullptr) {
    EnableMenuItem(menu, kVersionCommand, MF_BYCOMMAND | (locked ? MF_GRAYED : MF_ENABLED));
  }
  if (!locked) {
    // A disabled control keeps the focus, where no key reaches the dialog:
    // it goes back to where it was, or to 変換開始.
    HWND focus = focusBeforeBatch_;
    if (focus == nullptr || !IsChild(window_, focus) || !IsWindowEnabled(focus)) {
      focus = control(IDC_START);
    }
    SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
  }
}

void COrvatchDlg::appendLog(std::string_view text) {
  // At the end of whatever the pane holds, the user's typing included; not
  // recorded for undo.
  HWND log = control(IDC_LOG);
  const WPARAM end = static_cast<WPARAM>(GetWindowTextLengthW(log));
  SendMessageW(log, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageW(log, EM_SCROLLCARET, 0, 0);
  SendMessageW(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(utf16FromUtf8(text).c_str()));
}

void COrvatchDlg::setLogLimit(std::size_t characters) {
  SendMessageW(control(IDC_LOG), EM_SETLIMITTEXT, characters, 0);
}

void COrvatchDlg::selectRow(std::size_t index) {
  SendMessageW(control(IDC_TARGETLIST), LB_SETCURSEL, index, 0);
}

void COrvatchDlg::setTitle(std::string_view title) { setText(window_, title); }

void COrvatchDlg::showFields(const DialogModel::Fields& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) setText(control(kFieldIds[i]), fields[i]);
}

void COrvatchDlg::showMessageBox(std::string_view text) {
  MessageBoxW(window_, utf16FromUtf8(text).c_str(), applicationCaption().c_str(), MB_OK);
}

void COrvatchDlg::wake() { PostMessageW(window_, kServeBatch, 0, 0); }

void COrvatchDlg::wakeAfter(std::chrono::milliseconds delay) {
  SetTimer(window_, kServeBatchTimer, static_cast<UINT>(delay.count()), nullptr);
}

void COrvatchDlg::searchFile() {
  const std::optional<std::string> chosen = picker_->pickFile(window_);
  if (!chosen) return;
  setText(control(IDC_SBIN), *chosen);
  showFields(DialogModel::fieldsOf(*chosen));
}

void COrvatchDlg::addTarget() {
  const std::wstring path = windowText(control(IDC_SBIN));
  if (!model_.addTarget(utf8FromUtf16(path))) return;
  appendEntry(path);
  fitListExtent();
  SetWindowTextW(control(IDC_SBIN), L"");
}

void COrvatchDlg::addDropped(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = batchRunning() ? 0 : DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.push_back(utf8FromUtf16(path));
  }
  DragFinish(drop);
  addTargets(paths);
}

void COrvatchDlg::addTargets(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (model_.addTarget(path) && window_ != nullptr) appendEntry(utf16FromUtf8(path));
  }
  if (window_ != nullptr) fitListExtent();
}

void COrvatchDlg::deleteTarget() {
  const LRESULT row = SendMessageW(control(IDC_TARGETLIST), LB_GETCURSEL, 0, 0);
  model_.select(row == LB_ERR ? std::nullopt : std::optional<std::size_t>(row));
  if (const std::optional<std::size_t> deleted = model_.deleteSelected()) {
    SendMessageW(control(IDC_TARGETLIST), LB_DELETESTRING, *deleted, 0);
    fitListExtent();
  }
}

void COrvatchDlg::appendEntry(const std::wstring& path) {
  SendMessageW(control(IDC_TARGETLIST), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
}

void COrvatchDlg::fitListExtent() {
  // The list scrolls sideways as far as its longest entry reaches.
  HWND list = control(IDC_TARGETLIST);
  HDC dc = GetDC(list);
  HGDIOBJ previousFont =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  LONG widest = 0;
  for (const std::string& path : model_.targets()) {
    const std::wstring text = utf16FromUtf8(path);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    widest = std::max(widest, size.cx);
  }
  SelectObject(dc, previousFont);
  ReleaseDC(list, dc);
  SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 4), 0);
}

void COrvatchDlg::end() {
  if (modal_) {
    EndDialog(window_, IDCANCEL);
  } else {
    DestroyWindow(window_);
    window_ = nullptr;
  }
}

}  // namespace fenmarq
