#include "app/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/start_folder.h"
#include "app/window_launch.h"
#include "platform/file_system.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

using Args = std::vector<std::string>;

// Notes what the window would show, and where the dialog runs.
class FakeToolkit final : public WindowToolkit {
 public:
  void showUsageError(const WindowStart&) override { shown = "usage error"; }
  void showStartFolderFailure(const std::string& folder, std::error_code) override {
    shown = "cannot enter " + folder;
  }
  bool runDialog(const std::vector<std::string>& entries) override {
    shown = "dialog in " + utf8FromPath(std::filesystem::current_path());
    listed = entries;
    return opens;
  }

  bool opens = true;
  std::string shown;
  Args listed;
};

// --help and --version are found among Qt's options, up to "--"; the
// language follows the locale of messages, as setlocale would choose it.
TEST(CommandLineTest, HelpVersionAndTheirLanguage) {
  const struct {
    Args args;
    WindowRequest request;
  } requests[] = {
      {{}, WindowRequest::kOpen},
      {{"-platform", "offscreen", "--version"}, WindowRequest::kVersion},
      {{"folder", "-h", "--version"}, WindowRequest::kHelp},
      {{"--", "--help"}, WindowRequest::kOpen},
  };
  for (const auto& r : requests) {
    EXPECT_EQ(windowRequestOf(r.args), r.request) << r.args.size();
  }
  const struct {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    bool japanese;
  } locales[] = {
      {nullptr, nullptr, nullptr, false},
      {nullptr, nullptr, "ja_JP.UTF-8", true},
      {"C.UTF-8", nullptr, "ja_JP.UTF-8", false},
      {"", "", "ja_JP.UTF-8", true},  // empty counts as not set
      {nullptr, "ja_JP.eucJP", "en_US.UTF-8", true},
      {nullptr, "en_US.UTF-8", "ja_JP.UTF-8", false},
      {"ja", "C", "C", true},
      {nullptr, nullptr, "jv_ID", false},
  };
  for (const auto& l : locales) {
    EXPECT_EQ(japaneseMessages(l.lcAll, l.lcMessages, l.lang), l.japanese)
        << (l.lcAll ? l.lcAll : "-") << " " << (l.lcMessages ? l.lcMessages : "-") << " "
        << (l.lang ? l.lang : "-");
  }
  EXPECT_TRUE(windowHelp(true).starts_with("使い方: fenmarq [フォルダ] [ファイル...]\n"));
  EXPECT_TRUE(windowHelp(false).starts_with("Usage: fenmarq [FOLDER] [FILE...]\n"));
}

// Files become entries, absolute and in order; a folder, or a path that
// names nothing, is the start folder, else the first file's folder is. What
// is wrong is said in English and in Japanese. The dialog runs in the start
// folder, and the exit status says how the window ended.
TEST(CommandLineTest, FilesBecomeEntriesAndTheStartFolderFollows) {
  testing::ScopedTempDir dir(/*withOutputFolders=*/false);
  std::filesystem::create_directory("out");
  std::filesystem::create_directory("obs");
  testing::writeFile("obs/a", "");
  testing::writeFile("b", "");
  testing::writeFile("-f", "");
  const std::filesystem::path here = std::filesystem::current_path();
  const auto absolute = [&](const std::string& path) {
    // Windows spells the made-absolute path with its own separator.
    return utf8FromPath(path.empty() ? here : (here / pathFromUtf8(path)).make_preferred());
  };
  const std::string none = "(current)";
  const struct {
    Args args;
    std::string folder;
    Args entries;
    std::string error;          // English, for standard error
    std::string japaneseError;  // for the message box
    WindowExitStatus status;
    std::string shown;  // what the window shows
  } cases[] = {
      {{}, none, {}, "", "", kWindowDone, "dialog in " + absolute("")},
      {{"out"}, "out", {}, "", "", kWindowDone, "dialog in " + absolute("out")},
      {{"gone"}, "gone", {}, "", "", kWindowNotStarted, "cannot enter gone"},
      {{""}, "", {}, "", "", kWindowNotStarted, "cannot enter "},
      {{"obs/a", "b"},
       absolute("obs"),
       {absolute("obs/a"), absolute("b")},
       "",
       "",
       kWindowDone,
       "dialog in " + absolute("obs")},
      {{"b", "out", "obs/a"},
       "out",
       {absolute("b"), absolute("obs/a")},
       "",
       "",
       kWindowDone,
       "dialog in " + absolute("out")},
      {{"--", "-f"},
       absolute(""),
       {absolute("-f")},
       "",
       "",
       kWindowDone,
       "dialog in " + absolute("")},
      // As a file manager passes them (on Windows with a drive letter).
      {{absolute("obs/a")},
       absolute("obs"),
       {absolute("obs/a")},
       "",
       "",
       kWindowDone,
       "dialog in " + absolute("obs")},
      {{"out", "b", "obs"},
       none,
       {},
       "one start folder at most ('out' and 'obs')",
       "起動フォルダは一つだけ指定できます（「out」と「obs」）。",
       kWindowUsageError,
       "usage error"},
      {{"-f"},
       none,
       {},
       "unknown option '-f'",
       "「-f」というオプションはありません。",
       kWindowUsageError,
       "usage error"},
  };
  for (const auto& c : cases) {
    const WindowStart start = windowStartOf(c.args);
    const std::string first = c.args.empty() ? "" : c.args.front();
    EXPECT_EQ(usageErrorText(start, false), c.error) << first;
    EXPECT_EQ(usageErrorText(start, true), c.japaneseError) << first;
    FakeToolkit toolkit;
    EXPECT_EQ(launchWindow(start, toolkit), c.status) << first;
    std::filesystem::current_path(here);
    EXPECT_EQ(toolkit.shown, c.shown) << first;
    EXPECT_EQ(toolkit.listed, c.status == kWindowDone ? c.entries : Args{}) << first;
    if (!c.error.empty()) continue;
    EXPECT_EQ(start.folder.value_or(none), c.folder) << first;
    EXPECT_EQ(start.entries, c.entries) << first;
  }

  // A dialog that cannot be made ends the program as a folder that cannot
  // be entered does.
  FakeToolkit failing;
  failing.opens = false;
  EXPECT_EQ(launchWindow(windowStartOf({}), failing), kWindowNotStarted);

  // The message box says in Japanese why a start folder cannot be entered.
  EXPECT_EQ(startFolderFailure("gone", enterStartFolder("gone"), true),
            "起動フォルダに移動できません。\ngone\nフォルダがありません。");
  EXPECT_EQ(startFolderFailure("b", enterStartFolder("b"), true),
            "起動フォルダに移動できません。\nb\nフォルダではありません。");
  EXPECT_EQ(std::filesystem::current_path(), here);
}

}  // namespace
}  // namespace fenmarq
