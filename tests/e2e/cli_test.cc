// Runs fenmarq-cli as a process in a fresh folder, as a script would.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/expected_log.h"
#include "tests/support/scoped_temp_dir.h"

extern char** environ;

namespace fenmarq {
namespace {

using namespace fenmarq::testing;
namespace fs = std::filesystem;

struct CliRun {
  int status;  // the exit status, or -1 when the process did not exit
  std::string out, err;
};

// Runs the command line in the current folder, output going to files there.
CliRun runCli(std::vector<std::string> args) {
  args.insert(args.begin(), FENMARQ_CLI_PATH);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "cli.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, "cli.err", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return {-1, "", "cannot start " + args[0]};
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  CliRun run{WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1, readFile("cli.out"),
             readFile("cli.err")};
  fs::remove("cli.out");
  fs::remove("cli.err");
  return run;
}

constexpr std::string_view kAmd = "amd_1min_20160412.62078";

TEST(CliTest, ConvertsASampleDay) {
  ScopedTempDir dir(/*withOutputFolders=*/false);
  const CliRun samples = runCli({"samples", "."});
  ASSERT_EQ(samples.status, 0) << samples.err;
  EXPECT_EQ(samples.out,
            "./amd_1min_20160412.62078\n./amd_10sec_20160412.62078\n./sfc_10sec_20160412.47662\n"
            "./sfc_10sec_20120601.47662\n./sfc_1min_20160412.47662\n");
  EXPECT_EQ(fs::file_size(kAmd), 246'240u);

  const CliRun convert = runCli({"convert", std::string(kAmd)});
  EXPECT_EQ(convert.status, 0) << convert.err;
  EXPECT_EQ(firstDifference(
                convertedItemLog(kAmd, kAmd, 246'240, kAmd1MinEnd) + std::string(kBatchEndLog),
                convert.out),
            "");
  EXPECT_EQ(convert.err, "");
  EXPECT_EQ(fs::file_size("HEXFiles/HEX_amd_1min_20160412.62078.txt"), 2 * 246'240u);
  EXPECT_EQ(fs::file_size("CHKFiles/CHK_amd_1min_20160412.62078.txt"), 2 * 246'240u);
  // "ファイル名," in CP932, the name and a row end open the sheet.
  EXPECT_TRUE(
      readFile("CSVFiles/CSV_amd_1min_20160412.62078.CSV")
          .starts_with("\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC,amd_1min_20160412.62078\n"));
}

TEST(CliTest, ExitStatusTellsHowTheRunEnded) {
  ScopedTempDir dir;
  writeFile(kAmd, std::string(246'240, '\0'));
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out;  // compared when the run is not a usage error
  } cases[] = {
      {{}, 2, ""},
      {{"transform"}, 2, ""},
      {{"convert"}, 2, ""},
      {{"convert", "--fast", std::string(kAmd)}, 2, ""},
      {{"samples"}, 2, ""},
      {{"convert", "readme.txt"}, 0, std::string(kNotTargetLog) + std::string(kBatchEndLog)},
      {{"convert", "amd_1min_20160412.99999", std::string(kAmd)},
       1,
       notOpenedLine("amd_1min_20160412.99999")},
  };
  for (const auto& c : cases) {
    const CliRun run = runCli(c.args);
    const std::string command = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(run.status, c.status) << command;
    if (c.status == 2) {
      EXPECT_EQ(run.out, "") << command;
      EXPECT_TRUE(run.err.starts_with("fenmarq-cli: ")) << command;
    } else {
      EXPECT_EQ(firstDifference(c.out, run.out), "") << command;
    }
  }
}

TEST(CliTest, MakesTheOutputFoldersOnlyWhenAsked) {
  ScopedTempDir dir(/*withOutputFolders=*/false);
  writeFile(kAmd, std::string(246'240, '\0'));
  const CliRun without = runCli({"convert", std::string(kAmd)});
  EXPECT_EQ(without.status, 1);
  EXPECT_EQ(without.out,
            openedLine(kAmd) + notOpenedLine("./HEXFiles/HEX_amd_1min_20160412.62078.txt"));
  const CliRun with = runCli({"convert", "--make-dirs", std::string(kAmd)});
  EXPECT_EQ(with.status, 0) << with.err;
  EXPECT_TRUE(fs::is_regular_file("CSVFiles/CSV_amd_1min_20160412.62078.CSV"));
}

}  // namespace
}  // namespace fenmarq
