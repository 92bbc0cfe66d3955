// The native window under a real message loop: its controls where the dialog
// template puts them, the commands wired to the model, and whole batches
// during which the user's input has no effect. What the commands do is the
// dialog model's and tested there.
#include "app/win32/orvatch_dlg.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/win32/resource.h"
#include "app/win32/texts.h"
#include "cli/sample_day.h"
#include "convert/batch_converter.h"
#include "platform/file_system.h"
#include "platform/utf16_win32.h"
#include "tests/support/recording_batch.h"
#include "tests/support/scoped_temp_dir.h"
#include "tests/win32/message_loop.h"

namespace fenmarq {
namespace {

using testing::pumpFor;
using testing::pumpUntil;
using testing::ScopedTempDir;
using namespace std::literals;

// Answers the file search in the user's place.
class ScriptedPicker final : public FilePicker {
 public:
  std::optional<std::string> pickFile(HWND owner) override {
    owners.push_back(owner);
    const std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<std::string>> answers;
  std::vector<HWND> owners;
};

std::string textOf(HWND window) { return utf8FromUtf16(windowText(window)); }

// The entries of the target list of main dialog `dialog`.
std::vector<std::string> entriesOf(HWND dialog) {
  std::vector<std::string> texts;
  HWND list = GetDlgItem(dialog, IDC_TARGETLIST);
  const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    texts.push_back(utf8FromUtf16(text));
  }
  return texts;
}

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : picker_(new ScriptedPicker), dialog_(std::unique_ptr<FilePicker>(picker_)) {}

  void SetUp() override {
    // Now and then the system fails to create a dialog at the first attempt;
    // a second attempt is said in the output.
    for (int attempt = 0; attempt < 2 && window_ == nullptr; ++attempt) {
      if (attempt > 0) std::printf("[ RETRIED  ] error %lu creating the dialog\n", GetLastError());
      window_ = dialog_.create();
    }
    if (window_ == nullptr && GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
      GTEST_SKIP() << "no display to show windows on";
    }
    ASSERT_NE(window_, nullptr) << "error " << GetLastError();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    pumpFor(window_, 50);
  }

  HWND control(int id) const { return GetDlgItem(window_, id); }
  void click(int id) { SendMessageW(control(id), BM_CLICK, 0, 0); }
  void setText(int id, std::string_view text) {
    SetWindowTextW(control(id), utf16FromUtf8(text).c_str());
  }
  void addTarget(std::string_view path) {
    setText(IDC_SBIN, path);
    click(IDC_ADDTARGET);
  }
  std::vector<std::string> entries() const { return entriesOf(window_); }
  std::vector<std::string> fields() const {
    std::vector<std::string> texts;
    for (int id : {IDC_FILENAME, IDC_KIND, IDC_INTERVAL, IDC_YEAR, IDC_MONTHDAY, IDC_STATION}) {
      texts.push_back(textOf(control(id)));
    }
    return texts;
  }
  // Starts the batch and waits until it is over.
  bool convert() {
    click(IDC_START);
    return pumpUntil(window_, [&] { return !dialog_.batchRunning(); });
  }

  ScopedTempDir folder_;    // current while the dialog is made: its start directory
  ScriptedPicker* picker_;  // owned by the dialog
  COrvatchDlg dialog_;
  HWND window_ = nullptr;
};

struct Control {
  int id;
  const wchar_t* className;
  const char* text;
  RECT units;  // x, y, width, height in dialog units
};

// In tab order, which is the order of the children.
const Control kControls[] = {
    {IDC_LOG, L"Edit", "", {15, 140, 301, 202}},
    {IDC_SBIN, L"Edit", "", {372, 26, 110, 14}},
    {IDC_ADDTARGET, L"Button", "上のファイルを変換対象とする", {370, 47, 110, 17}},
    {IDC_TARGETLIST, L"ListBox", "", {370, 65, 110, 106}},
    {IDC_DELETE, L"Button", "削除", {481, 65, 22, 42}},
    {IDC_SEARCH, L"Button", "ファイル検索", {388, 7, 71, 13}},
    {IDC_START, L"Button", "変換開始", {382, 178, 84, 18}},
    {IDC_STATIC,
     L"Static",
     "１．右上の”ファイル検索”で変換するファイルを見つける。",
     {20, 54, 261, 14}},
    {IDC_FILENAME, L"Edit", "", {205, 7, 157, 14}},
    {IDC_KIND, L"Edit", "", {205, 25, 28, 14}},
    {IDC_INTERVAL, L"Edit", "", {234, 25, 28, 14}},
    {IDC_YEAR, L"Edit", "", {265, 25, 34, 14}},
    {IDC_MONTHDAY, L"Edit", "", {301, 25, 28, 14}},
    {IDC_STATION, L"Edit", "", {331, 25, 32, 14}},
    {IDC_STATIC,
     L"Static",
     "気象庁の風データ(バイナリデータ)を\nCSVファイルに変換します\n（エクセルで読めます。）",
     {22, 7, 114, 27}},
    {IDC_STATIC,
     L"Static",
     "変換後は、サブフォルダ\n\n\\CSVFiles\n\\HEXFiles\n\nに保存されます。\n\n同名ファイルは上書き"
     "されます。",
     {385, 210, 94, 75}},
    {IDC_STATIC,
     L"Static",
     "２．”上のファイルを変換対象とする”をクリックする。",
     {20, 73, 261, 14}},
    {IDC_STATIC, L"Static", "３．”変換開始”をクリックする。", {20, 91, 261, 14}},
    {IDC_STATIC,
     L"Static",
     "４．サブファルダにCSVファイルと１６進表示のテキストファイルができます。",
     {20, 112, 261, 14}},
};

// x, y, width and height in pixels, each mapped on its own as the dialog
// manager does.
std::vector<LONG> pixelsOf(HWND dialog, RECT units) {
  MapDialogRect(dialog, &units);
  return {units.left, units.top, units.right, units.bottom};
}

TEST_F(WindowTest, ControlsSitWhereTheTemplatePutsThem) {
  EXPECT_EQ(textOf(window_), "Fenmarq");
  RECT client;
  GetClientRect(window_, &client);
  EXPECT_EQ(pixelsOf(window_, {0, 0, 510, 357}),
            (std::vector<LONG>{0, 0, client.right, client.bottom}));
  // In the middle of its monitor's work area, to the pixel that halving
  // rounds away.
  RECT frame;
  GetWindowRect(window_, &frame);
  MONITORINFO monitor{sizeof monitor, {}, {}, 0};
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  EXPECT_LE(std::abs(frame.left + frame.right - work.left - work.right), 1) << frame.left;
  EXPECT_LE(std::abs(frame.top + frame.bottom - work.top - work.bottom), 1) << frame.top;

  HWND child = GetWindow(window_, GW_CHILD);
  for (const Control& expected : kControls) {
    SCOPED_TRACE(expected.text);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(static_cast<short>(GetDlgCtrlID(child)), expected.id);
    wchar_t className[32];
    GetClassNameW(child, className, 32);
    EXPECT_EQ(lstrcmpiW(className, expected.className), 0) << utf8FromUtf16(className);
    EXPECT_EQ(textOf(child), expected.text);
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(
        (std::vector<LONG>{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}),
        pixelsOf(window_, expected.units));
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr);
  EXPECT_EQ(GetFocus(), control(IDC_LOG));

  HMENU menu = GetSystemMenu(window_, FALSE);
  const int last = GetMenuItemCount(menu) - 1;
  EXPECT_EQ(GetMenuItemID(menu, last), 0x0010u);
  wchar_t item[64];
  GetMenuStringW(menu, last, item, 64, MF_BYPOSITION);
  EXPECT_EQ(utf8FromUtf16(item), "Orvatch のﾊﾞｰｼﾞｮﾝ情報(&A)...");
}

// What the shell hands a window that files are dropped on: `paths`, each
// ended by NUL. The window frees it.
HDROP droppedFiles(std::wstring_view paths) {
  const std::size_t size = sizeof(DROPFILES) + (paths.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  paths.copy(reinterpret_cast<wchar_t*>(drop + 1), paths.size());  // GHND zeroed the rest
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(WindowTest, CommandsReachTheModel) {
  const std::string picked = "C:\\obs\\amd_1min_20160412.62078";
  picker_->answers = {std::nullopt, picked};
  click(IDC_SEARCH);  // cancelled: nothing changes
  EXPECT_EQ(fields(), std::vector<std::string>(6));
  click(IDC_SEARCH);
  EXPECT_EQ(picker_->owners, std::vector<HWND>(2, window_));
  EXPECT_EQ(textOf(control(IDC_SBIN)), picked);
  EXPECT_EQ(fields(), (std::vector<std::string>{"amd_1min_20160412.62078", "amd", "1min", "2016",
                                                "0412", "62078"}));
  click(IDC_ADDTARGET);
  click(IDC_ADDTARGET);  // the path field is empty now
  addTarget("readme.txt");
  EXPECT_EQ(entries(), (std::vector<std::string>{picked, "readme.txt"}));
  EXPECT_EQ(textOf(control(IDC_SBIN)), "");

  click(IDC_DELETE);  // nothing selected
  SendMessageW(control(IDC_TARGETLIST), LB_SETCURSEL, 0, 0);
  click(IDC_DELETE);
  EXPECT_EQ(entries(), std::vector<std::string>{"readme.txt"});
  SendMessageW(control(IDC_TARGETLIST), LB_SETCURSEL, 0, 0);
  SendMessageW(control(IDC_TARGETLIST), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_TRUE(entries().empty());

  // Files dropped on the list are added in order.
  SendMessageW(control(IDC_TARGETLIST), WM_DROPFILES,
               reinterpret_cast<WPARAM>(droppedFiles(L"C:\\a\\観測.1\0C:\\b.2\0"sv)), 0);
  EXPECT_EQ(entries(), (std::vector<std::string>{"C:\\a\\観測.1", "C:\\b.2"}));

  // Enter ends nothing; Esc (and the close box) end the dialog.
  SendMessageW(window_, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(IsWindow(window_));
  SendMessageW(window_, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(IsWindow(window_));
}

// The command line's files, given before the window exists, are its first
// entries; more come after them.
TEST_F(WindowTest, EntriesGivenBeforeTheWindowOpensAreListed) {
  COrvatchDlg started;
  started.addTargets({"C:\\obs\\観測.1", "C:\\b.2"});
  HWND window = nullptr;
  for (int attempt = 0; attempt < 2 && window == nullptr; ++attempt) window = started.create();
  ASSERT_NE(window, nullptr) << "error " << GetLastError();
  EXPECT_EQ(entriesOf(window), (std::vector<std::string>{"C:\\obs\\観測.1", "C:\\b.2"}));
  started.addTargets({"C:\\c.3"});
  EXPECT_EQ(entriesOf(window), (std::vector<std::string>{"C:\\obs\\観測.1", "C:\\b.2", "C:\\c.3"}));
}

// Presses and releases `key` as the keyboard would.
void pressKey(WORD key) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

// Clicks the middle of `control` as the mouse would.
void clickOn(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  const auto absolute = [](LONG pixel, int metric) {
    return static_cast<LONG>(pixel * 65535 / (GetSystemMetrics(metric) - 1));
  };
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = absolute((rect.left + rect.right) / 2, SM_CXSCREEN);
    input.mi.dy = absolute((rect.top + rect.bottom) / 2, SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof(INPUT));
}

// Closes the first dialog of this thread other than `window_` that a timer
// finds: the version dialog.
HWND gMainWindow = nullptr;
bool gVersionShown = false;
void CALLBACK closeOtherDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM) -> BOOL {
        if (window == gMainWindow || !IsWindowVisible(window)) return TRUE;
        gVersionShown = true;
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        return FALSE;
      },
      0);
  if (gVersionShown) KillTimer(nullptr, timer);
}

// After a batch the focus is where it was when the batch began, so that
// the keyboard acts at once: Enter presses 変換開始 again, Tab moves on, Esc
// ends the window.
TEST_F(WindowTest, KeysActAfterABatch) {
  addTarget("readme.txt");
  SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(IDC_START)), TRUE);
  ASSERT_TRUE(convert());
  EXPECT_EQ(GetFocus(), control(IDC_START));
  const std::string once = textOf(control(IDC_LOG));
  pressKey(VK_RETURN);
  ASSERT_TRUE(pumpUntil(
      window_, [&] { return !dialog_.batchRunning() && textOf(control(IDC_LOG)) == once + once; }));
  EXPECT_EQ(GetFocus(), control(IDC_START));
  pressKey(VK_TAB);
  pumpFor(window_, 100);
  EXPECT_NE(GetFocus(), control(IDC_START));
  EXPECT_TRUE(IsChild(window_, GetFocus()));
  pressKey(VK_ESCAPE);
  pumpFor(window_, 100);
  EXPECT_FALSE(IsWindow(window_));
}

// Each input once outside a batch, where it takes effect (so it is known to
// arrive), and once while a batch runs, where it has none, then or
// afterwards: the controls are disabled, the log takes no keys, Esc, the
// close box and the version item do nothing. The log fills while the batch
// runs and ends equal to the command line's log of the same list.
struct Input {
  const char* name;
  bool during;
};
void PrintTo(const Input& input, std::ostream* out) {
  *out << input.name << (input.during ? " during a batch" : " outside a batch");
}

class WindowInputTest : public WindowTest, public ::testing::WithParamInterface<Input> {};

TEST_P(WindowInputTest, TakesEffectOutsideABatchOnly) {
  const auto [input, during] = GetParam();
  const SampleFile& sample = sampleFiles()[0];
  const std::vector<std::uint8_t> day = makeSampleDay(sample);
  std::vector<std::string> listed;
  for (int i = 0; i < 20; ++i) {
    const std::filesystem::path copy = folder_.path() / std::to_string(i);
    std::filesystem::create_directory(copy);
    listed.push_back(utf8FromPath(copy / sample.fileName));
    testing::writeFile(listed.back(), day);
    addTarget(listed.back());
  }
  SendMessageW(control(IDC_TARGETLIST), LB_SETCURSEL, 0, 0);
  gMainWindow = window_;
  gVersionShown = false;
  if (during) {
    click(IDC_START);
    // The batch cannot end before this thread has served it.
    ASSERT_TRUE(dialog_.batchRunning());
  }
  const std::string_view name = input;
  if (name == "delete") clickOn(control(IDC_DELETE));
  if (name == "type log") {
    SetFocus(control(IDC_LOG));
    pressKey('Z');
    pressKey('Q');
  }
  if (name == "esc") pressKey(VK_ESCAPE);
  if (name == "close") PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  if (name == "version") {
    SetTimer(nullptr, 0, 100, closeOtherDialog);
    PostMessageW(window_, WM_SYSCOMMAND, 0x0010, 0);
  }
  // The log's lengths seen while the batch runs.
  std::set<int> logLengths;
  ASSERT_TRUE(pumpUntil(window_, [&] {
    if (dialog_.batchRunning()) logLengths.insert(GetWindowTextLengthW(control(IDC_LOG)));
    return !dialog_.batchRunning();
  }));
  pumpFor(window_, 300);

  const bool effect = !during;
  const bool closes = effect && (name == "esc" || name == "close");
  ASSERT_EQ(IsWindow(window_) != FALSE, !closes);
  if (closes) return;
  EXPECT_EQ(entries().size(), listed.size() - (effect && name == "delete"));
  EXPECT_EQ(gVersionShown, effect && name == "version");
  if (!during) {
    EXPECT_EQ(textOf(control(IDC_LOG)), name == "type log" ? "zq" : "");
    return;
  }
  testing::RecordingLog reference;
  testing::RecordingView view;
  BatchConverter().run(listed, utf8FromPath(folder_.path()), reference, view);
  EXPECT_EQ(textOf(control(IDC_LOG)), reference.joined());
  EXPECT_GE(logLengths.size(), 2u) << "the log did not fill while the batch ran";
  EXPECT_TRUE(IsWindowEnabled(control(IDC_DELETE)));
  EXPECT_EQ(GetWindowLongW(control(IDC_LOG), GWL_STYLE) & ES_READONLY, 0);
  EXPECT_EQ(textOf(window_), "Fenmarq");
  EXPECT_EQ(SendMessageW(control(IDC_TARGETLIST), LB_GETCURSEL, 0, 0), 19);
  EXPECT_EQ(fields()[0], sample.fileName);
}

INSTANTIATE_TEST_SUITE_P(WindowTest, WindowInputTest,
                         ::testing::Values(Input{"delete", false}, Input{"delete", true},
                                           Input{"type log", false}, Input{"type log", true},
                                           Input{"esc", false}, Input{"esc", true},
                                           Input{"close", false}, Input{"close", true},
                                           Input{"version", false}, Input{"version", true}),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), ' ', '_');
                           return name + (info.param.during ? "_during" : "_outside");
                         });

}  // namespace
}  // namespace fenmarq
