// Runs fenmarq-cli as a process in a fresh folder, as a script would.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/sample_day.h"
#include "tests/support/cli_run.h"
#include "tests/support/expected_log.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

using namespace fenmarq::testing;
namespace fs = std::filesystem;

constexpr std::string_view kAmd = "amd_1min_20160412.62078";

TEST(CliTest, SamplesWritesOneDayFilePerFormatAndTheOutputFolders) {
  ScopedTempDir dir(/*withOutputFolders=*/false);
  const CliRun samples = runCli({"samples", "."});
  ASSERT_EQ(samples.status, 0) << samples.err;
  EXPECT_EQ(samples.out,
            "./amd_1min_20160412.62078\n./amd_10sec_20160412.62078\n./sfc_10sec_20160412.47662\n"
            "./sfc_10sec_20120601.47662\n./sfc_1min_20160412.47662\n");
  EXPECT_EQ(samples.err, "");
  for (const SampleFile& sample : sampleFiles()) {
    const std::vector<std::uint8_t> bytes = makeSampleDay(sample);
    EXPECT_EQ(readFile(sample.fileName), std::string(bytes.begin(), bytes.end()));
  }
  for (const Output output : kOutputs) EXPECT_TRUE(fs::is_directory(folderOf(output)));
}

TEST(CliTest, ExitStatusTellsHowTheRunEnded) {
  ScopedTempDir dir;
  writeFile(kAmd, std::string(246'240, '\0'));
  writeFile("obs\\" + std::string(kAmd), std::string(246'240, '\0'));
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
      // On POSIX "\" is part of a name, not a separator: a name that starts
      // with another word before "\" is not an observation file name.
      {{"convert", "obs\\" + std::string(kAmd)},
       0,
       std::string(kNotTargetLog) + std::string(kBatchEndLog)},
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
      EXPECT_EQ(run.err, "") << command;
    }
  }
  expectOutputs({}, outputFiles());
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
