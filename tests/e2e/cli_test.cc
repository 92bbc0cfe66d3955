// Runs fenmarq-cli as a process in a fresh folder, as a script would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli/sample_day.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/user_language.h"
#include "tests/support/cli_run.h"
#include "tests/support/expected_log.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

using namespace fenmarq::testing;
namespace fs = std::filesystem;

constexpr std::string_view kAmd = "amd_1min_20160412.62078";
constexpr const char* kShortWarning =
    "fenmarq-cli: warning: amd_1min_20160413.62078 holds 100 bytes, fewer than the 246240 of its "
    "layout; the missing bytes read as zeros\n";

// ASCII `text` as UTF-16 LE after its byte-order mark, as PowerShell 5 writes
// a file.
std::string utf16LeWithMark(std::string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char c : text) bytes += {c, '\0'};
  return bytes;
}

TEST(CliTest, SamplesWritesOneDayFilePerFormatAndTheOutputFolders) {
  ScopedTempDir dir(/*withOutputFolders=*/false);
  const CliRun samples = runCli({"samples", "."});
  ASSERT_EQ(samples.status, 0) << samples.err;
  std::string listed;
  for (const SampleFile& sample : sampleFiles()) {
    listed += std::string(".") + directorySeparator() + std::string(sample.fileName) + "\n";
  }
  EXPECT_EQ(samples.out, listed);
  EXPECT_EQ(samples.err, "");
  for (const SampleFile& sample : sampleFiles()) {
    const std::vector<std::uint8_t> bytes = makeSampleDay(sample);
    EXPECT_EQ(readFile(sample.fileName), std::string(bytes.begin(), bytes.end()));
  }
  for (const Output output : kOutputs) EXPECT_TRUE(fs::is_directory(folderOf(output)));
}

// Usage errors and failures in the user's language: Japanese where the
// locale of messages is (on Windows the display language: the suite's
// Japanese run), English elsewhere. On a Japanese Windows a list that cmd
// wrote in code page 932 is read, and one that is not text in it either
// says so.
TEST(CliTest, SpeaksTheUsersLanguage) {
  const bool japaneseSystem = std::getenv("FENMARQ_JAPANESE_SYSTEM") != nullptr;
  if (japaneseSystem) {
    ASSERT_EQ(systemCodePage(), 932u);
    ASSERT_TRUE(japaneseMessages());
  }
  ScopedTempDir dir;
  writeFile("bad.txt", "a\r\n\x81\r\n");
  const struct {
    std::vector<std::string> args;
    std::string english, japanese;
  } cases[] = {
      {{"frob"},
       "fenmarq-cli: unknown command 'frob'\nTry 'fenmarq-cli --help'.\n",
       "fenmarq-cli: 「frob」というコマンドはありません\n使い方は fenmarq-cli --help "
       "で表示されます。\n"},
      {{"convert", "--jobs", "0", "x"},
       "fenmarq-cli: --jobs needs a number from 1 to 256\nTry 'fenmarq-cli --help'.\n",
       "fenmarq-cli: --jobs には 1 から 256 までの数が要ります\n使い方は fenmarq-cli --help "
       "で表示されます。\n"},
      {{"table", "--columns", "readme.txt"},
       "fenmarq-cli: readme.txt is not a conversion target\n",
       "fenmarq-cli: readme.txt は変換対象ではありません\n"},
      {{"convert", "--files-from", "bad.txt"},
       onPosix() ? "fenmarq-cli: bad.txt:2: not valid text\n"
                 : "fenmarq-cli: bad.txt:2: not valid text (neither UTF-8 nor code page 932; chcp "
                   "65001 makes cmd write UTF-8)\n",
       onPosix() ? "fenmarq-cli: bad.txt:2: テキストとして読めません\n"
                 : "fenmarq-cli: bad.txt:2: テキストとして読めません（UTF-8 でもコード ページ 932 "
                   "でもありません。chcp 65001 を実行すると、コマンド プロンプトは UTF-8 "
                   "で書きます）\n"},
  };
  // The locale is the child's own on POSIX; on Windows it is the system's.
  const std::vector<bool> languages =
      onPosix() ? std::vector<bool>{false, true} : std::vector<bool>{japaneseSystem};
  for (const bool japanese : languages) {
    for (const auto& c : cases) {
      if (!onPosix() && !japaneseSystem && c.args[0] == "convert" && c.args[1] == "--files-from") {
        continue;  // read in code page 1252, where every byte is text
      }
      const CliRun run = runCli(c.args, {.messagesLocale = japanese ? "ja_JP.UTF-8" : "C"});
      EXPECT_EQ(run.err, japanese ? c.japanese : c.english) << c.args[0];
    }
  }
  if (!japaneseSystem) return;
  // "dir /b > list.txt" on a Japanese system.
  fs::create_directory(pathFromUtf8("観測"));
  writeFile("観測/" + std::string(kAmd), std::string(246'240, '\0'));
  writeFile("list.txt", "\x8A\xCF\x91\xAA\\" + std::string(kAmd) + "\r\n");
  const CliRun run = runCli({"convert", "--files-from", "list.txt"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::exists(outputKey(Output::kCsv, kAmd)));
}

TEST(CliTest, ExitStatusTellsHowTheRunEnded) {
  ScopedTempDir dir;
  writeFile(kAmd, std::string(246'240, '\0'));
  writeFile("amd_1min_20160413.62078", std::string(100, '\1'));
  const std::string sfc = "sfc_1min_20160412.47662";
  writeFile(sfc, std::string(367'200, '\0'));
  // Lists as PowerShell and Notepad write them, and one with a line that is
  // not UTF-8.
  writeFile("utf16.txt", utf16LeWithMark("amd_1min_20160413.62078\r\n"));
  writeFile("utf8.txt", "\xEF\xBB\xBF\r\namd_1min_20160412.99999\r\n");
  writeFile("bad.txt", "amd_1min_20160412.62078\n\n\x83\x5C\n");
  const bool fifos = makeFifo("list.fifo");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out;  // compared when the run is not a usage error
    std::string err = "";
    bool posixOnly = false;
    std::string fed = "";   // what a writer puts into list.fifo during the run
    bool utf8Only = false;  // where a list is not read in a code page of the system's
  } cases[] = {
      {{}, 2, ""},
      {{"transform"}, 2, ""},
      {{"convert"}, 2, ""},
      {{"convert", "--fast", std::string(kAmd)}, 2, ""},
      {{"samples"}, 2, ""},
      {{"samples", "--date"}, 2, ""},
      {{"samples", "--date", "20150229", "d"}, 2, ""},
      {{"samples", "--date=2016041", "d"}, 2, ""},
      {{"samples", "--date", "20080624", "d"}, 2, ""},  // before every format
      {{"samples", "--date", "20160412", "d", "e"}, 2, ""},
      // Only the formats that cover the date.
      {{"samples", "--date=20080725", "d"},
       0,
       std::string("d") + directorySeparator() + "sfc_10sec_20080725.47662\nd" +
           directorySeparator() + "sfc_1min_20080725.47662\n"},
      {{"convert", "--files-from"}, 2, ""},
      {{"convert", "--files-from", "no-list.txt"},
       1,
       "",
       "fenmarq-cli: no-list.txt: cannot read: No such file or directory\n"},
      // A list is read as a stream to its end, whatever kind of file holds
      // it; a read error is no end of the list.
      {{"convert", "--files-from", "/proc/self/mem"},
       1,
       "",
       "fenmarq-cli: /proc/self/mem: cannot read: Input/output error\n",
       true},
      {{"convert", "--files-from", "/dev/null"}, 0, std::string(kBatchEndLog), "", true},
      {{"table", "--files-from", "/dev/zero"},
       2,
       "",
       "fenmarq-cli: /dev/zero:1: not valid text\n",
       true},
      {{"table", "-o", "fifo.csv", "--files-from", "list.fifo"},
       0,
       "",
       kShortWarning,
       true,
       "\n\namd_1min_20160413.62078\n"},
      {{"convert", "--files-from", "bad.txt"},
       2,
       "",
       "fenmarq-cli: bad.txt:3: not valid text\n",
       false,
       "",
       true},
      {{"table", "--files-from=bad.txt"},
       2,
       "",
       "fenmarq-cli: bad.txt:3: not valid text\n",
       false,
       "",
       true},
      // Listed files come after the arguments.
      {{"convert", "--jobs", "1", "--files-from", "utf8.txt", "readme.txt"},
       1,
       std::string(kNotTargetLog) + notOpenedLine("amd_1min_20160412.99999")},
      {{"convert", "readme.txt"}, 0, std::string(kNotTargetLog) + std::string(kBatchEndLog)},
      // After "--" even --help names a file.
      {{"convert", "--", "--help"}, 0, std::string(kNotTargetLog) + std::string(kBatchEndLog)},
      // One job: nothing after the entry that ends the batch is started.
      {{"convert", "--jobs", "1", "amd_1min_20160412.99999", std::string(kAmd)},
       1,
       notOpenedLine("amd_1min_20160412.99999")},
      // Tables: inputs that are no target, cannot be opened or differ in
      // format, and an output that is an input, write nothing.
      {{"table"}, 2, ""},
      {{"table", "--columns"}, 2, ""},
      {{"table", "readme.txt"}, 2, ""},
      {{"table", std::string(kAmd), "amd_1min_20160412.99999"}, 2, ""},
      {{"table", std::string(kAmd), sfc}, 2, ""},
      {{"table", "-o", std::string(kAmd), std::string(kAmd)}, 2, ""},
      {{"table", "--schema", std::string(kAmd), std::string(kAmd)}, 2, ""},
      {{"table", "--schema"}, 2, ""},
      {{"table", "--columns", sfc, "--schema", "s.json"}, 2, ""},
      {{"table", "-o", "same.csv", "--schema", "same.csv", std::string(kAmd)}, 2, ""},
      {{"table", "--schema", "-", std::string(kAmd)}, 2, ""},
      {{"table", "-o", "-", "--schema", "-", std::string(kAmd)}, 2, ""},
      {{"table", "-o", "t.csv", "amd_1min_20160413.62078"}, 0, "", kShortWarning},
      {{"table", "-o", "listed.csv", "--files-from", "utf16.txt"}, 0, "", kShortWarning},
  };
  for (const auto& c : cases) {
    if ((c.posixOnly && !onPosix()) || (c.utf8Only && systemCodePage() != 0)) continue;
    std::thread writer;
    if (!c.fed.empty()) {
      ASSERT_TRUE(fifos);
      writer = std::thread([&] { EXPECT_TRUE(feedFifo("list.fifo", c.fed, 20)); });
    }
    // A list that never ends must not hold the run.
    const CliRun run = runCli(c.args, {.seconds = 20});
    if (writer.joinable()) writer.join();
    const std::string command = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(run.status, c.status) << command;
    if (c.status == 2) {
      EXPECT_EQ(run.out, "") << command;
      EXPECT_TRUE(run.err.starts_with("fenmarq-cli: ")) << command;
      EXPECT_TRUE(c.err.empty() || run.err == c.err) << command << ": " << run.err;
    } else {
      EXPECT_EQ(firstDifference(c.out, run.out), "") << command;
      EXPECT_EQ(run.err, c.err) << command;
    }
  }
  expectOutputs({}, outputFiles());
  EXPECT_EQ(readFile(kAmd), std::string(246'240, '\0'));
  EXPECT_EQ(readFile("t.csv").substr(0, 5), "file,");
  EXPECT_EQ(readFile("t.csv.schema.json").substr(0, 1), "{");
  EXPECT_EQ(readFile("listed.csv"), readFile("t.csv"));
  if (fifos) {
    EXPECT_EQ(firstDifference(readFile("t.csv"), readFile("fifo.csv")), "");
  }
  EXPECT_FALSE(fs::exists("s.json"));
  EXPECT_FALSE(fs::exists("same.csv"));
  // "-o -" is standard output, as "-" is for most commands.
  EXPECT_EQ(runCli({"table", "-o", "-", "amd_1min_20160413.62078"}).out, readFile("t.csv"));
  EXPECT_FALSE(fs::exists("-"));
}

// A command whose product is standard output fails when that is closed; one
// that only logs there goes on.
TEST(CliTest, ClosedStandardOutputFailsTheCommandsThatWriteTheirProductThere) {
  if (!onPosix()) GTEST_SKIP() << "starts the program with standard output closed";
  ScopedTempDir dir;
  writeFile(kAmd, std::string(246'240, '\0'));
  const std::string day(kAmd);
  const struct {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"table", day}, 1},
      {{"table", "--columns", day}, 1},
      {{"table", "-o", "t.csv", "--schema", "-", day}, 1},
      {{"--help"}, 1},
      {{"table", "--help"}, 1},
      {{"--version"}, 1},
      {{"convert", day}, 0},
      {{"samples", "s"}, 0},
  };
  for (const auto& c : cases) {
    const CliRun run = runCli(c.args, {.closeStdout = true});
    EXPECT_EQ(run.status, c.status) << c.args[0] << " " << c.args.back();
  }
}

// Where Debian's pandas is installed, it reads a table of two day files with
// its defaults: one header, one row per record, decoded quantities as floats
// exactly where the schema says number, the rest as integers, and the time
// with its offset. A table on standard output leaves no schema unless asked.
TEST(CliTest, TableReadsIntoPandasAsItIs) {
  if (!onPosix() || std::system("/usr/bin/python3 -c 'import pandas' 2>/dev/null") != 0) {
    GTEST_SKIP() << "no pandas for /usr/bin/python3";
  }
  ScopedTempDir dir;
  ASSERT_EQ(runCli({"samples", "."}).status, 0);
  const std::string sfc = "sfc_10sec_20160412.47662";
  const CliRun table = runCli({"table", "--output=t.csv", sfc, sfc});
  ASSERT_EQ(table.status, 0) << table.err;
  // --bom puts a byte-order mark before the same bytes, which pandas skips.
  ASSERT_EQ(runCli({"table", "--bom", "-o", "b.csv", sfc, sfc}).status, 0);
  EXPECT_EQ(readFile("b.csv"), "\xEF\xBB\xBF" + readFile("t.csv"));
  // --columns describes every column under a heading.
  const CliRun columns = runCli({"table", "--columns", sfc});
  ASSERT_EQ(columns.status, 0);
  EXPECT_EQ(std::ranges::count(columns.out, '\n'), 1 + 86);
  EXPECT_EQ(
      std::system("/usr/bin/python3 -c \"import json, pandas as pd; d = pd.read_csv('t.csv'); "
                  "s = json.load(open('t.csv.schema.json'))['fields']; "
                  "assert d.shape == (17280, 86), d.shape; "
                  "assert [f['name'] for f in s] == list(d.columns); "
                  "floats = [f['name'] for f in s if f['type'] == 'number']; "
                  "assert list(d.columns[d.dtypes == 'float64']) == floats; "
                  "assert list(d.columns[d.dtypes == 'object']) == ['file', 'time']; "
                  "t = pd.to_datetime(d['time']).iloc[-1]; "
                  "assert str(t) == '2016-04-12 23:59:50+09:00', t; "
                  "assert pd.read_csv('b.csv').equals(d)\""),
      0);
  const CliRun piped = runCli({"table", "-o", "-", sfc});
  const CliRun asked = runCli({"table", "--schema=p.json", sfc});
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.out, asked.out);
  EXPECT_EQ(runCli({"table", "--bom", sfc}).out, "\xEF\xBB\xBF" + piped.out);
  EXPECT_FALSE(fs::exists("-.schema.json"));
  EXPECT_EQ(readFile("p.json"), readFile("t.csv.schema.json"));
}

// Help after any command, the version with its licence and codec, and every
// usual form of --jobs.
TEST(CliTest, HelpVersionAndJobsInTheirUsualForms) {
  ScopedTempDir dir;
  writeFile(kAmd, std::string(246'240, '\0'));
  // A command's help is its own part of the usage, with the exit statuses.
  const struct {
    std::vector<std::string> args;
    std::string_view holds;
    std::string_view lacks;  // "": nothing to look for
  } helps[] = {
      {{"--help"}, "\n  fenmarq-cli samples [--date YYYYMMDD] DIR\n", ""},
      {{"convert", "--help"}, "\n  --make-dirs ", "fenmarq-cli table"},
      {{"table", "-h"}, "\n  fenmarq-cli table [--raw] --columns FORMAT\n\ntable ", "--make-dirs"},
      {{"samples", "-h"},
       "Usage:\n  fenmarq-cli samples [--date YYYYMMDD] DIR\n\nsamples ",
       "convert"},
      // Anywhere among the options, FILE absent with a LIST, and only the
      // command's own exit statuses.
      {{"convert", "--make-dirs", "--help"},
       "\n  fenmarq-cli convert [OPTION...] --files-from LIST [FILE...]\n",
       "the table could not be written"},
      {{"--help"}, "\n  fenmarq-cli convert [OPTION...] --files-from LIST [FILE...]\n", ""},
      {{"table", "x", "-h", "--fast"}, "\nExit status: 0 done; 1 the table ", "; 3 done"},
      {{"samples", "--date=20160412", "--help"}, "\nExit status: 0 done; 1 a sample ", "; 3 "},
  };
  for (const auto& h : helps) {
    const CliRun help = runCli(h.args);
    EXPECT_EQ(help.status, 0) << h.args[0];
    EXPECT_TRUE(help.out.starts_with("Usage:\n")) << h.args[0];
    EXPECT_NE(help.out.find(h.holds), std::string::npos) << help.out;
    EXPECT_TRUE(h.lacks.empty() || help.out.find(h.lacks) == std::string::npos) << help.out;
    EXPECT_NE(help.out.find("\nExit status: 0 done; 1 "), std::string::npos) << help.out;
  }
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--version"},
                                               {"convert", "--version"},
                                               {"table", "--raw", "--version", "-h"}}) {
    const CliRun version = runCli(args);
    EXPECT_EQ(version.status, 0) << args.back();
    EXPECT_TRUE(version.out.starts_with("fenmarq-cli " FENMARQ_VERSION "\n")) << version.out;
    EXPECT_NE(version.out.find("MIT License\nCP932 codec: "), std::string::npos) << version.out;
  }
  for (const std::vector<std::string>& jobs :
       {std::vector<std::string>{"-j2"}, {"-j", "2"}, {"--jobs=2"}, {"--jobs", "2"}}) {
    std::vector<std::string> args = {"convert"};
    args.insert(args.end(), jobs.begin(), jobs.end());
    args.push_back(std::string(kAmd));
    EXPECT_EQ(runCli(args).status, 0) << jobs[0];
  }
}

// Targets as users of each system write them: a Japanese folder with a space,
// a station part holding "ソ" (its CP932 form ends in the byte of "\"), and
// "\" and "/" in one path, which separate folders on Windows, while on POSIX
// "\" belongs to the name. The log names the path as given, byte for byte as
// on the other system, never "\r\r\n"; the sheet's first row holds the file
// name in CP932.
TEST(CliTest, ConvertsTargetsAsTheSystemNamesThem) {
  ScopedTempDir dir;
  const bool windows = directorySeparator() == '\\';
  const std::string amd(kAmd);
  const struct {
    bool run;
    std::string placed;    // where the input is written, "/" between folders
    std::string target;    // as listed
    std::string fileName;  // what the outputs are named after; "" when no target
    std::string sheetName;
  } cases[] = {
      {true, "観測 データ/" + amd, std::string("観測 データ") + directorySeparator() + amd, amd,
       amd},
      {true, "obs/amd_1min_20160412.62ソ", "obs/amd_1min_20160412.62ソ", "amd_1min_20160412.62ソ",
       "amd_1min_20160412.62\x83\x5C"},
      {windows, "観測/sub/" + amd, "観測\\sub/" + amd, amd, amd},
      {!windows, "sub\\" + amd, "sub\\" + amd, "", ""},
  };
  for (const auto& c : cases) {
    if (!c.run) continue;
    const std::string folder = c.placed.substr(0, c.placed.rfind('/') + 1);
    if (!folder.empty()) fs::create_directories(pathFromUtf8(folder));
    writeFile(c.placed, std::string(246'240, '\0'));
    const CliRun run = runCli(convertArgs({c.target}));
    EXPECT_EQ(run.status, 0) << c.target;
    const std::string log = c.fileName.empty()
                                ? std::string(kNotTargetLog)
                                : convertedItemLog(c.target, c.fileName, 246'240, kAmd1MinEnd);
    EXPECT_EQ(firstDifference(log + std::string(kBatchEndLog), run.out), "") << c.target;
    if (c.fileName.empty()) continue;
    EXPECT_TRUE(readFile(outputKey(Output::kCsv, c.fileName))
                    .starts_with(std::string(kSheetNameCell) + c.sheetName + "\n"))
        << c.target;
  }
}

// Windows shells leave "*" and "?" to the program: fenmarq-cli expands them
// in the last part of a FILE, each pattern's files in name order whatever
// order the folder lists them in, and keeps a pattern without matches as
// typed. Option values are never patterns. On POSIX the shell expands: a
// pattern that reaches the program is a name like any other.
TEST(CliTest, WildcardsOnWindowsNameTheirFilesInNameOrder) {
  ScopedTempDir dir;
  const bool windows = directorySeparator() == '\\';
  fs::create_directory("obs");
  for (const char* day : {"14", "12", "13"}) {  // created against name order
    writeFile("obs/amd_1min_201604" + std::string(day) + ".62078", std::string(246'240, '\0'));
  }
  writeFile("list.txt", "");
  std::string matches;
  for (const char* day : {"12", "13", "14"}) {
    const std::string name = "amd_1min_201604" + std::string(day) + ".62078";
    matches += convertedItemLog("obs/" + name, name, 246'240, kAmd1MinEnd);
  }
  const std::string notTarget(kNotTargetLog);
  const struct {
    std::vector<std::string> args;
    std::string windowsLog;
    std::string posixLog;
  } cases[] = {
      {{"obs/*_2016041?.62078"}, matches, notTarget},
      {{"--jobs", "1", "none_*.62078", "obs/*"}, notTarget + matches, notTarget + notTarget},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"convert"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun run = runCli(args);
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string log = (windows ? c.windowsLog : c.posixLog) + std::string(kBatchEndLog);
    EXPECT_EQ(firstDifference(log, run.out), "") << c.args.back();
  }
  const CliRun list = runCli({"convert", "--files-from", "l*.txt"});
  EXPECT_EQ(list.status, 1);
  EXPECT_TRUE(list.err.starts_with("fenmarq-cli: l*.txt: cannot read: ")) << list.err;
}

// --make-dirs makes the output folders; output folders that cannot be made
// and a start folder that is gone end the run before any item.
TEST(CliTest, MakesTheOutputFoldersOrEndsBeforeAnyItem) {
  ScopedTempDir dir(/*withOutputFolders=*/false);
  writeFile(kAmd, std::string(246'240, '\0'));
  writeFile("CSVFiles", "a file where a folder should be");
  const CliRun makeDirs = runCli({"convert", "--make-dirs", std::string(kAmd)});
  EXPECT_EQ(makeDirs.status, 1);
  EXPECT_EQ(makeDirs.out, "");
  EXPECT_TRUE(makeDirs.err.starts_with("fenmarq-cli: cannot create ")) << makeDirs.err;
  EXPECT_EQ(readFile("CSVFiles"), "a file where a folder should be");
  fs::remove("CSVFiles");
  const CliRun made = runCli({"convert", "--make-dirs", std::string(kAmd)});
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_TRUE(fs::is_regular_file(outputKey(Output::kCsv, kAmd)));

  // A folder in use cannot be removed on Windows.
  if (!onPosix()) return;
  fs::create_directory("gone");
  fs::current_path("gone");
  fs::remove("../gone");
  const CliRun gone = runCli(convertArgs({std::string(kAmd)}));
  fs::current_path(dir.path());
  EXPECT_EQ(gone.status, 1);
  EXPECT_EQ(gone.out, "");
  EXPECT_TRUE(gone.err.starts_with("fenmarq-cli: cannot read the current directory")) << gone.err;
}

}  // namespace
}  // namespace fenmarq
