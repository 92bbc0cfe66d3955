// fenmarq-cli run as a process on real folders where things go wrong: output
// folders missing or blocked, inputs that cannot be read, a full disk, files
// of awkward lengths and names, too little memory, batches cut short. Every
// run is checked in full: its log, its standard error, its exit status and
// the content of every output folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/sample_day.h"
#include "convert/input_image.h"
#include "formats/amd_10sec.h"
#include "formats/amd_1min.h"
#include "formats/sfc_10sec.h"
#include "formats/sfc_10sec_2008.h"
#include "formats/sfc_1min.h"
#include "tests/support/expected_log.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

namespace fs = std::filesystem;
using testing::convertedItemLog;
using testing::firstDifference;
using testing::kAmd1MinEnd;
using testing::kBatchEndLog;
using testing::kNotTargetLog;
using testing::kSfc1MinEnd;
using testing::notOpenedLine;
using testing::openedLine;
using testing::readFile;
using testing::ScopedTempDir;
using testing::writeFile;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

constexpr std::string_view kMemoryLog = "メモリ不足で作業ができません。\r\n";
constexpr std::string_view kHexCloseFailed = "ファイル 'hex-data' は閉じられませんでした。\n";
constexpr std::string_view kCsvCloseFailed = "ファイル 'csv-data' は閉じられませんでした。\n";
constexpr std::string_view kChkCloseFailed = "ファイル 'chk-data' は閉じられませんでした。\n";
// "ファイル名," in CP932: the start of every sheet.
constexpr std::string_view kSheetNameCell = "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC,";

// ---------------------------------------------------------------------------
// Running fenmarq-cli

struct CliRun {
  int status = -1;  // the exit status; -1 when the process did not exit
  int signal = 0;   // the signal that killed it, if one did
  std::string out;  // the log
  std::string err;  // the message texts
};

struct RunLimits {
  const char* stdoutPath = nullptr;  // standard output goes there instead
  rlim_t addressSpace = RLIM_INFINITY;
  rlim_t stack = 0;  // the soft stack limit, which sizes new threads' stacks; 0 keeps it
};

// Runs fenmarq-cli with `args` in the current directory, standard input
// empty, and collects what it writes.
CliRun runCli(const std::vector<std::string>& args, const RunLimits& limits = {}) {
  std::vector<std::string> words = {FENMARQ_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  CliRun run;
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe2: " << std::strerror(errno);
    return run;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    // The child: nothing but async-signal-safe calls up to exec.
    const int input = open("/dev/null", O_RDONLY);
    const int output = limits.stdoutPath ? open(limits.stdoutPath, O_WRONLY) : out[1];
    if (input < 0 || output < 0 || dup2(input, 0) < 0 || dup2(output, 1) < 0 ||
        dup2(err[1], 2) < 0) {
      _exit(126);
    }
    if (limits.stack != 0) {
      rlimit stack;
      getrlimit(RLIMIT_STACK, &stack);
      stack.rlim_cur = limits.stack;
      if (stack.rlim_max != RLIM_INFINITY && stack.rlim_cur > stack.rlim_max) {
        stack.rlim_cur = stack.rlim_max;
      }
      setrlimit(RLIMIT_STACK, &stack);
    }
    if (limits.addressSpace != RLIM_INFINITY) {
      const rlimit space{limits.addressSpace, limits.addressSpace};
      setrlimit(RLIMIT_AS, &space);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  if (pid < 0) {
    ADD_FAILURE() << "fork: " << std::strerror(errno);
    close(out[0]);
    close(err[0]);
    return run;
  }

  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* into[2] = {&run.out, &run.err};
  for (int open = 2; open > 0;) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      ADD_FAILURE() << "poll: " << std::strerror(errno);
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[65536];
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        into[i]->append(buffer, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

std::vector<std::string> convertArgs(const std::vector<std::string>& targets, unsigned jobs = 1) {
  std::vector<std::string> args = {"convert"};
  if (jobs > 1) args.insert(args.end(), {"--jobs", std::to_string(jobs)});
  args.push_back("--");
  args.insert(args.end(), targets.begin(), targets.end());
  return args;
}

// ---------------------------------------------------------------------------
// Inputs and outputs

struct InputFile {
  std::string name;
  std::string bytes;
};

const SampleFile& sampleOf(const RecordFormat& format) {
  for (const SampleFile& sample : sampleFiles()) {
    if (&sample.format == &format) return sample;
  }
  throw std::logic_error("no sample for a format");
}

// A plausible day file of `format`, under the sample's name or `name`.
InputFile dayFile(const RecordFormat& format, std::string name = "") {
  const SampleFile& sample = sampleOf(format);
  const std::vector<std::uint8_t> bytes = makeSampleDay(sample);
  if (name.empty()) name = sample.fileName;
  return {name, std::string(bytes.begin(), bytes.end())};
}

void place(const InputFile& file) { writeFile(file.name, file.bytes); }

std::string hexPath(std::string_view name) {
  return "./HEXFiles/HEX_" + std::string(name) + ".txt";
}
std::string csvPath(std::string_view name) {
  return "./CSVFiles/CSV_" + std::string(name) + ".CSV";
}
std::string chkPath(std::string_view name) {
  return "./CHKFiles/CHK_" + std::string(name) + ".txt";
}

// The keys of `Outputs` for a file name: the output paths without "./".
std::string hexKey(std::string_view name) { return hexPath(name).substr(2); }
std::string csvKey(std::string_view name) { return csvPath(name).substr(2); }
std::string chkKey(std::string_view name) { return chkPath(name).substr(2); }

// What the three output folders hold: each entry's content, "-> target" for a
// symbolic link (never followed: it may lead to a device) and "<folder>" for
// a folder.
using Outputs = std::map<std::string, std::string>;

Outputs outputFiles() {
  Outputs all;
  for (const char* folder : {"HEXFiles", "CSVFiles", "CHKFiles"}) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
      const std::string key = std::string(folder) + "/" + entry.path().filename().string();
      if (entry.is_symlink()) {
        all[key] = "-> " + fs::read_symlink(entry.path()).string();
      } else if (entry.is_directory()) {
        all[key] = "<folder>";
      } else {
        all[key] = readFile(entry.path());
      }
    }
  }
  return all;
}

// The entries of `all` that belong to file `name`.
Outputs outputsOf(const Outputs& all, std::string_view name) {
  Outputs some;
  for (const std::string& key : {hexKey(name), csvKey(name), chkKey(name)}) {
    if (const auto it = all.find(key); it != all.end()) some.insert(*it);
  }
  return some;
}

// Compares output folders entry by entry, naming the first differing offset.
void expectOutputs(const Outputs& expected, const Outputs& actual) {
  for (const auto& [key, content] : expected) {
    const auto it = actual.find(key);
    if (it == actual.end()) {
      ADD_FAILURE() << key << " is missing";
    } else {
      EXPECT_EQ(firstDifference(content, it->second), "") << key;
    }
  }
  for (const auto& [key, content] : actual) {
    EXPECT_TRUE(expected.contains(key))
        << key << " was not expected (" << content.size() << " bytes)";
  }
}

struct CleanRun {
  std::string log;
  Outputs outputs;
};

// `files` converted in this order in a fresh folder, nothing going wrong.
CleanRun cleanRun(const std::vector<InputFile>& files) {
  ScopedTempDir folder;
  std::vector<std::string> targets;
  for (const InputFile& file : files) {
    place(file);
    targets.push_back(file.name);
  }
  const CliRun run = runCli(convertArgs(targets));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  return {run.out, outputFiles()};
}

// The log of a clean run without its batch end: what an aborted batch must
// have logged before the item that ended it.
std::string withoutBatchEnd(const std::string& log) {
  EXPECT_TRUE(log.ends_with(kBatchEndLog));
  return log.substr(0, log.size() - kBatchEndLog.size());
}

// Creates folders below the current one so that `fileName` in the deepest of
// them has a relative path of exactly `length` bytes, writes `bytes` there
// (through a folder handle, as the path may be too long to open) and returns
// the path.
std::string placeDeep(std::size_t length, const std::string& fileName, std::string_view bytes) {
  std::string folders;
  std::size_t left = length - fileName.size();  // each folder name and its "/"
  while (left > 0) {
    std::size_t part = std::min<std::size_t>(left, 200);
    if (left - part == 1) --part;  // never leave a lone "/"
    folders += std::string(part - 1, 'd') + "/";
    left -= part;
  }
  fs::create_directories(folders);
  const int folder = open(folders.c_str(), O_RDONLY | O_DIRECTORY);
  EXPECT_GE(folder, 0) << std::strerror(errno);
  const int file = openat(folder, fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  EXPECT_GE(file, 0) << std::strerror(errno);
  EXPECT_EQ(write(file, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  close(file);
  close(folder);
  const std::string path = folders + fileName;
  EXPECT_EQ(path.size(), length);
  return path;
}

void makeSparse(const std::string& name, std::uintmax_t size) {
  writeFile(name, std::string_view());
  fs::resize_file(name, size);
}

// The rendering of `bytes`, spelled out here rather than taken from the code
// under test.
std::string hexOf(std::string_view bytes) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const unsigned char b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

enum class Output { kHex, kCsv, kChk };

std::string outputPath(Output output, std::string_view name) {
  switch (output) {
    case Output::kHex:
      return hexPath(name);
    case Output::kCsv:
      return csvPath(name);
    case Output::kChk:
      return chkPath(name);
  }
  return "";
}

std::string_view folderOf(Output output) {
  switch (output) {
    case Output::kHex:
      return "HEXFiles";
    case Output::kCsv:
      return "CSVFiles";
    case Output::kChk:
      return "CHKFiles";
  }
  return "";
}

std::string_view nameOf(Output output) { return folderOf(output).substr(0, 3); }

// ---------------------------------------------------------------------------
// Output folders and paths that cannot be written

enum class Blocker { kFolderMissing, kPathIsFolder, kDanglingLink };

std::string blockerName(Blocker blocker) {
  constexpr const char* kNames[] = {"FolderMissing", "PathIsFolder", "DanglingLink"};
  return kNames[static_cast<int>(blocker)];
}

struct BlockedOutputCase {
  Output output;
  Blocker blocker;
};

void PrintTo(const BlockedOutputCase& c, std::ostream* os) {
  *os << nameOf(c.output) << " " << blockerName(c.blocker);
}

class FaultBlockedOutputTest : public ::testing::TestWithParam<BlockedOutputCase> {};

// The output that cannot be opened ends the batch; the outputs opened before
// it exist and are empty; nothing of the entries after it is written.
TEST_P(FaultBlockedOutputTest, EndsBatchAtTheBlockedOutput) {
  const auto [output, blocker] = GetParam();
  ScopedTempDir folder;
  const InputFile earlier = dayFile(kSfc1MinFormat);
  const InputFile target = dayFile(kAmd1MinFormat);
  const InputFile later{"amd_1min_20160413.62078", "later"};
  for (const InputFile& file : {earlier, target, later}) place(file);
  writeFile("notes.txt", "not a target");

  std::vector<std::string> targets = {"notes.txt", earlier.name, target.name, later.name};
  std::string log = std::string(kNotTargetLog);
  Outputs expected;
  if (blocker == Blocker::kFolderMissing) {
    // No item can be converted without the folder: start with the target.
    targets.erase(targets.begin() + 1);
    fs::remove(folderOf(output));
  } else {
    const CleanRun clean = cleanRun({earlier});
    log += withoutBatchEnd(clean.log);
    expected = clean.outputs;
  }
  const std::string blocked = outputPath(output, target.name);
  if (blocker == Blocker::kPathIsFolder) {
    fs::create_directory(blocked);
    expected[blocked.substr(2)] = "<folder>";
  }
  if (blocker == Blocker::kDanglingLink) {
    fs::create_symlink("../nowhere/file", blocked);
    expected[blocked.substr(2)] = "-> ../nowhere/file";
  }
  log += openedLine(target.name);
  for (Output before = Output::kHex; before != output;
       before = static_cast<Output>(static_cast<int>(before) + 1)) {
    log += openedLine(outputPath(before, target.name));
    expected[outputPath(before, target.name).substr(2)] = "";
  }
  log += notOpenedLine(blocked);

  const CliRun run = runCli(convertArgs(targets));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(firstDifference(log, run.out), "");
  expectOutputs(expected, outputFiles());
}

INSTANTIATE_TEST_SUITE_P(Fault, FaultBlockedOutputTest,
                         ::testing::Values(BlockedOutputCase{Output::kHex, Blocker::kFolderMissing},
                                           BlockedOutputCase{Output::kCsv, Blocker::kFolderMissing},
                                           BlockedOutputCase{Output::kChk, Blocker::kFolderMissing},
                                           BlockedOutputCase{Output::kHex, Blocker::kPathIsFolder},
                                           BlockedOutputCase{Output::kCsv, Blocker::kPathIsFolder},
                                           BlockedOutputCase{Output::kChk, Blocker::kPathIsFolder},
                                           BlockedOutputCase{Output::kHex, Blocker::kDanglingLink},
                                           BlockedOutputCase{Output::kCsv, Blocker::kDanglingLink},
                                           BlockedOutputCase{Output::kChk, Blocker::kDanglingLink}),
                         [](const auto& info) {
                           return std::string(nameOf(info.param.output)) +
                                  blockerName(info.param.blocker);
                         });

TEST(FaultFolders, MakeDirsOverAFileEndsBeforeAnyItem) {
  ScopedTempDir folder(/*withOutputFolders=*/false);
  const InputFile target = dayFile(kAmd1MinFormat);
  place(target);
  writeFile("CSVFiles", "a file where a folder should be");

  const CliRun run = runCli({"convert", "--make-dirs", target.name});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.starts_with("fenmarq-cli: cannot create ")) << run.err;
  EXPECT_EQ(readFile("CSVFiles"), "a file where a folder should be");
}

TEST(FaultFolders, RemovedStartFolderEndsBeforeAnyItem) {
  ScopedTempDir folder;
  fs::create_directory("gone");
  fs::current_path("gone");
  fs::remove("../gone");
  const CliRun run = runCli(convertArgs({"amd_1min_20160412.62078"}));
  fs::current_path(folder.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.starts_with("fenmarq-cli: cannot read the current directory")) << run.err;
}

// ---------------------------------------------------------------------------
// Inputs that cannot be opened

struct UnreadableInputCase {
  const char* label;
  // Puts the unreadable input in place and returns its path as listed.
  std::string (*setUp)(const std::string& name);
};

void PrintTo(const UnreadableInputCase& c, std::ostream* os) { *os << c.label; }

class FaultUnreadableInputTest : public ::testing::TestWithParam<UnreadableInputCase> {};

// The input that cannot be opened ends the batch before any of its outputs is
// opened: outputs it left from an earlier run stay as they were.
TEST_P(FaultUnreadableInputTest, EndsBatchAndLeavesItsOutputsAlone) {
  ScopedTempDir folder;
  const InputFile earlier = dayFile(kSfc1MinFormat);
  const InputFile later{"sfc_1min_20160413.47662", "later"};
  const std::string name = "amd_1min_20160412.62078";
  for (const InputFile& file : {earlier, later}) place(file);
  const CleanRun clean = cleanRun({earlier});
  Outputs expected = clean.outputs;
  for (const std::string& key : {hexKey(name), csvKey(name), chkKey(name)}) {
    writeFile(key, "from an earlier run");
    expected[key] = "from an earlier run";
  }
  const std::string path = GetParam().setUp(name);

  const CliRun run = runCli(convertArgs({earlier.name, path, later.name}));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(firstDifference(withoutBatchEnd(clean.log) + notOpenedLine(path), run.out), "");
  expectOutputs(expected, outputFiles());
}

INSTANTIATE_TEST_SUITE_P(
    Fault, FaultUnreadableInputTest,
    ::testing::Values(UnreadableInputCase{"Missing", [](const std::string& name) { return name; }},
                      UnreadableInputCase{"Folder",
                                          [](const std::string& name) {
                                            fs::create_directory(name);
                                            return name;
                                          }},
                      UnreadableInputCase{"Fifo",
                                          [](const std::string& name) {
                                            EXPECT_EQ(mkfifo(name.c_str(), 0644), 0);
                                            return name;
                                          }},
                      UnreadableInputCase{"LinkToEndlessDevice",
                                          [](const std::string& name) {
                                            fs::create_symlink("/dev/zero", name);
                                            return name;
                                          }},
                      UnreadableInputCase{"DanglingLink",
                                          [](const std::string& name) {
                                            fs::create_symlink("nowhere/" + name, name);
                                            return name;
                                          }},
                      UnreadableInputCase{"LinkLoop",
                                          [](const std::string& name) {
                                            fs::create_symlink("loop", name);
                                            fs::create_symlink(name, "loop");
                                            return name;
                                          }},
                      UnreadableInputCase{"PathOf4096Bytes",
                                          [](const std::string& name) {
                                            return placeDeep(4096, name,
                                                             dayFile(kAmd1MinFormat).bytes);
                                          }}),
    [](const auto& info) { return std::string(info.param.label); });

// A batch run again after one of its inputs was deleted ends at that input;
// the outputs of every entry, before it and after it, stay as the first run
// left them.
TEST(FaultInputs, InputDeletedBetweenTwoRunsOfTheSameList) {
  ScopedTempDir folder;
  const std::vector<InputFile> files = {
      dayFile(kAmd1MinFormat), dayFile(kSfc1MinFormat), {"amd_1min_20160413.62078", "third"}};
  std::vector<std::string> targets;
  for (const InputFile& file : files) {
    place(file);
    targets.push_back(file.name);
  }
  const CliRun first = runCli(convertArgs(targets));
  ASSERT_EQ(first.status, 0) << first.err;
  const Outputs afterFirst = outputFiles();
  ASSERT_EQ(afterFirst.size(), 9u);
  const auto modified = [](const std::string& key) {
    struct stat info {};
    stat(key.c_str(), &info);
    return std::pair(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
  };
  const auto lastModified = modified(csvKey(files[2].name));

  fs::remove(files[1].name);
  const CliRun second = runCli(convertArgs(targets));
  EXPECT_EQ(second.status, 1);
  EXPECT_EQ(second.err, "");
  const std::string firstItem = first.out.substr(0, first.out.find(openedLine(files[1].name)));
  EXPECT_EQ(firstDifference(firstItem + notOpenedLine(files[1].name), second.out), "");
  expectOutputs(afterFirst, outputFiles());
  EXPECT_EQ(modified(csvKey(files[2].name)), lastModified) << "the third entry was written again";
}

// A file that holds more than its reported size (here a kernel text file,
// reported as 0 bytes; a file still being written behaves alike) must not be
// cut to the reported size with a clean exit: either all of it is converted,
// or the cut is reported and the exit status says data was lost.
TEST(FaultInputs, FileLongerThanItsReportedSizeIsNotCutSilently) {
  ScopedTempDir folder;
  const std::string content = readFile("/proc/version");
  if (content.empty() || fs::file_size("/proc/version") >= content.size()) {
    GTEST_SKIP() << "no file here that reports less than it holds";
  }
  const std::string name = "amd_1min_20160412.62078";
  fs::create_symlink("/proc/version", name);

  const CliRun run = runCli(convertArgs({name}));
  if (run.status == 0) {
    EXPECT_NE(
        run.out.find("バイナリファイルの長さ   = " + std::to_string(content.size()) + " byte"),
        std::string::npos)
        << run.out;
    EXPECT_EQ(readFile(hexPath(name)), hexOf(content));
  } else {
    EXPECT_EQ(run.status, 3) << run.out << run.err;
  }
}

// ---------------------------------------------------------------------------
// A full disk

struct FullDiskCase {
  Output output;
  bool wholeDay;  // a whole day file, else one byte: the write fails at the close
};

void PrintTo(const FullDiskCase& c, std::ostream* os) {
  *os << nameOf(c.output) << (c.wholeDay ? " whole day" : " one byte");
}

class FaultFullDiskTest : public ::testing::TestWithParam<FullDiskCase> {};

// A HEX or CSV file that cannot be written completely is reported as not
// closed; the item goes on and ends, the batch goes on, the exit status says
// data was lost, and the next item is converted as in a clean run.
TEST_P(FaultFullDiskTest, WriteFailureIsReportedAndTheBatchGoesOn) {
  const auto [output, wholeDay] = GetParam();
  ScopedTempDir folder;
  const InputFile target =
      wholeDay ? dayFile(kAmd1MinFormat) : InputFile{"amd_1min_20160412.62078", "\x01"};
  const InputFile next = dayFile(kSfc1MinFormat);
  const CleanRun clean = cleanRun({target, next});
  for (const InputFile& file : {target, next}) place(file);
  const std::string full = outputPath(output, target.name);
  fs::create_symlink("/dev/full", full);
  Outputs expected = clean.outputs;
  expected[full.substr(2)] = "-> /dev/full";

  const CliRun run = runCli(convertArgs({target.name, next.name}));
  EXPECT_EQ(run.status, 3);
  const std::string_view message = output == Output::kHex ? kHexCloseFailed : kCsvCloseFailed;
  EXPECT_EQ(run.err, std::string(message) + "\n");
  EXPECT_EQ(firstDifference(clean.log, run.out), "");
  expectOutputs(expected, outputFiles());
}

INSTANTIATE_TEST_SUITE_P(Fault, FaultFullDiskTest,
                         ::testing::Values(FullDiskCase{Output::kHex, false},
                                           FullDiskCase{Output::kHex, true},
                                           FullDiskCase{Output::kCsv, false},
                                           FullDiskCase{Output::kCsv, true}),
                         [](const auto& info) {
                           return std::string(nameOf(info.param.output)) +
                                  (info.param.wholeDay ? "WholeDay" : "OneByte");
                         });

// A CHK file on a full disk is reported as not closed, and as it then cannot
// be read back, the batch ends there. The HEX file is complete; the sheet's
// turn has not come, so the CSV file is empty.
TEST(FaultFullDisk, ChkFileThatCannotBeReadBackEndsTheBatch) {
  ScopedTempDir folder;
  const InputFile target = dayFile(kAmd1MinFormat);
  const InputFile next = dayFile(kSfc1MinFormat);
  const CleanRun clean = cleanRun({target});
  for (const InputFile& file : {target, next}) place(file);
  fs::create_symlink("/dev/full", chkPath(target.name));

  const CliRun run = runCli(convertArgs({target.name, next.name}));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, std::string(kChkCloseFailed) + "\n");
  const std::string checking = "CHKファイルの確認をします。\n\r\n";
  const std::string upToReopen = clean.log.substr(0, clean.log.find(checking) + checking.size());
  EXPECT_EQ(firstDifference(upToReopen + notOpenedLine(chkPath(target.name)), run.out), "");
  expectOutputs({{hexKey(target.name), clean.outputs.at(hexKey(target.name))},
                 {csvKey(target.name), ""},
                 {chkKey(target.name), "-> /dev/full"}},
                outputFiles());
}

// A log that cannot be written is lost data too: the exit status says so,
// though every output file is complete.
TEST(FaultFullDisk, LostLogIsNotSuccess) {
  ScopedTempDir folder;
  std::vector<InputFile> files;
  std::vector<std::string> targets;
  // Enough items for the log to pass through the stream's buffer more than once.
  for (int day = 10; day < 40; ++day) {
    files.push_back({"amd_1min_201604" + std::to_string(day) + ".62078", "x"});
    targets.push_back(files.back().name);
  }
  const CleanRun clean = cleanRun(files);
  for (const InputFile& file : files) place(file);

  for (const std::size_t count : {std::size_t{1}, targets.size()}) {
    SCOPED_TRACE(count);
    const CliRun run = runCli(convertArgs({targets.begin(), targets.begin() + count}),
                              {.stdoutPath = "/dev/full"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "");
  }
  expectOutputs(clean.outputs, outputFiles());
}

// ---------------------------------------------------------------------------
// Inputs of awkward lengths

enum class Length {
  kEmpty,
  kOneByte,
  kFirstRecordShortByOne,
  kLayoutShortByOne,
  kLayout,
  kLayoutPlusOne
};

struct LengthCase {
  const RecordFormat* format;
  std::string_view endOfItemText;
  Length length;
};

class FaultLengthTest : public ::testing::TestWithParam<LengthCase> {};

// Any length converts. The renderings hold every byte of the file; the sheet
// reads a short file as if padded with zeros to its layout, and ignores the
// bytes of a long one beyond it.
TEST_P(FaultLengthTest, ConvertsAsIfCutOrPaddedToTheLayout) {
  const auto [format, endOfItemText, lengthCase] = GetParam();
  const std::size_t layout = layoutSize(*format);
  std::size_t length = 0;
  switch (lengthCase) {
    case Length::kEmpty:
      length = 0;
      break;
    case Length::kOneByte:
      length = 1;
      break;
    case Length::kFirstRecordShortByOne:
      length = format->firstRecordOffset + format->recordSize - 1;
      break;
    case Length::kLayoutShortByOne:
      length = layout - 1;
      break;
    case Length::kLayout:
      length = layout;
      break;
    case Length::kLayoutPlusOne:
      length = layout + 1;
      break;
  }
  InputFile file = dayFile(*format);
  InputFile padded = file;
  file.bytes.resize(length, '\xA5');
  padded.bytes = file.bytes.substr(0, layout);
  padded.bytes.resize(layout, '\0');
  const CleanRun reference = cleanRun({padded});

  ScopedTempDir folder;
  place(file);
  const CliRun run = runCli(convertArgs({file.name}));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const std::string log =
      convertedItemLog(file.name, file.name, length, endOfItemText, length < layout ? layout : 0);
  EXPECT_EQ(firstDifference(log + std::string(kBatchEndLog), run.out), "");
  const std::string hex = hexOf(file.bytes);
  expectOutputs({{hexKey(file.name), hex},
                 {csvKey(file.name), reference.outputs.at(csvKey(file.name))},
                 {chkKey(file.name), hex}},
                outputFiles());
}

constexpr std::string_view kAmd10SecEnd = "amd 10sec ファイル変換 終了。\n";
constexpr std::string_view kSfc10SecEnd = "sfc 10sec (2015 年 3 月 3 日以降) ファイル変換 終了。\n";
constexpr std::string_view kSfc10Sec2008End =
    "sfc 10sec (2008 年 7 月 25 日～2015 年 3 月 2 日) ファイル変換 終了。\n";

std::vector<LengthCase> lengthCases() {
  const std::pair<const RecordFormat*, std::string_view> formats[] = {
      {&kAmd1MinFormat, kAmd1MinEnd},
      {&kAmd10SecFormat, kAmd10SecEnd},
      {&kSfc10SecFormat, kSfc10SecEnd},
      {&kSfc10Sec2008Format, kSfc10Sec2008End},
      {&kSfc1MinFormat, kSfc1MinEnd}};
  std::vector<LengthCase> cases;
  for (const auto& [format, end] : formats) {
    for (const Length length :
         {Length::kEmpty, Length::kOneByte, Length::kFirstRecordShortByOne,
          Length::kLayoutShortByOne, Length::kLayout, Length::kLayoutPlusOne}) {
      cases.push_back({format, end, length});
    }
  }
  return cases;
}

std::string lengthCaseName(const LengthCase& lengthCase) {
  constexpr const char* kLengths[] = {
      "Empty", "OneByte", "FirstRecordShortByOne", "LayoutShortByOne", "Layout", "LayoutPlusOne"};
  std::string name(sampleOf(*lengthCase.format).fileName);
  name = name.substr(0, name.find('.'));
  std::erase(name, '_');
  return name + kLengths[static_cast<int>(lengthCase.length)];
}

void PrintTo(const LengthCase& c, std::ostream* os) { *os << lengthCaseName(c); }

INSTANTIATE_TEST_SUITE_P(Fault, FaultLengthTest, ::testing::ValuesIn(lengthCases()),
                         [](const auto& info) { return lengthCaseName(info.param); });

// The image is sized from the file's full 64-bit size: the smallest multiple
// of 16 that holds the file and 4 more bytes, plus 1.
TEST(FaultImageSize, CapacityAcrossThe32BitBoundary) {
  const std::pair<std::uint64_t, std::uint64_t> cases[] = {
      {0, 17},
      {12, 17},
      {13, 33},
      {4'294'967'275, 4'294'967'281},          // 2^32 - 21
      {4'294'967'292, 4'294'967'297},          // 2^32 - 4
      {4'294'967'293, 4'294'967'313},          // 2^32 - 3
      {4'294'967'299, 4'294'967'313},          // 2^32 + 3
      {1'099'511'627'788, 1'099'511'627'793},  // 2^40 + 12
  };
  for (const auto& [size, capacity] : cases) {
    EXPECT_EQ(InputImage::capacityFor(size), capacity) << size;
  }
}

// A sparse file of more than 4 GiB: its size as the system reports it gives
// an image of the full size (nothing is read into it here).
TEST(FaultImageSize, SparseFileBeyond4GibGetsAFullSizeImage) {
  ScopedTempDir folder;
  constexpr std::uintmax_t kSize = (std::uintmax_t{1} << 32) + 3;
  makeSparse("amd_1min_20160412.62078", kSize);
  const std::uintmax_t size = fs::file_size("amd_1min_20160412.62078");
  ASSERT_EQ(size, kSize);
  InputImage image;
  if (!image.allocate(size)) GTEST_SKIP() << "4 GiB of address space not available here";
  EXPECT_EQ(image.capacity(), 4'294'967'313u);
  EXPECT_EQ(image.length(), 0u);
}

// ---------------------------------------------------------------------------
// Too little memory (address-space limits: not under AddressSanitizer, which
// reserves terabytes of it)

// A file whose image cannot be had ends the batch with the memory text; its
// outputs were opened and stay empty. The file is a sparse one of more than
// 4 GiB: an image sized from a size cut to 32 bits would fit and pass.
TEST(FaultMemory, ImageThatDoesNotFitEndsTheBatch) {
  if (kAddressSanitizer) GTEST_SKIP() << "address-space limits do not work under ASan";
  ScopedTempDir folder;
  const InputFile earlier = dayFile(kSfc1MinFormat);
  const InputFile later{"sfc_1min_20160413.47662", "later"};
  const std::string huge = "amd_1min_20160412.62078";
  const CleanRun clean = cleanRun({earlier});
  for (const InputFile& file : {earlier, later}) place(file);
  makeSparse(huge, (std::uintmax_t{1} << 32) + 3);

  const CliRun run =
      runCli(convertArgs({earlier.name, huge, later.name}), {.addressSpace = rlim_t{1} << 30});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
  const std::string log = withoutBatchEnd(clean.log) + openedLine(huge) +
                          openedLine(hexPath(huge)) + openedLine(csvPath(huge)) +
                          openedLine(chkPath(huge)) + std::string(kMemoryLog);
  EXPECT_EQ(firstDifference(log, run.out), "");
  Outputs expected = clean.outputs;
  for (const std::string& key : {hexKey(huge), csvKey(huge), chkKey(huge)}) expected[key] = "";
  expectOutputs(expected, outputFiles());
}

class FaultMemoryJobsTest : public ::testing::TestWithParam<unsigned> {};

// A helper thread that the system refuses to start (here: every new thread
// asks for a 2 GiB stack within 1 GiB of address space) is memory that is not
// available. It must not end the process: either the work is done without
// the thread, or the batch ends with the memory text.
TEST_P(FaultMemoryJobsTest, ThreadThatCannotStartIsNotACrash) {
  if (kAddressSanitizer) GTEST_SKIP() << "address-space limits do not work under ASan";
  ScopedTempDir folder;
  const std::vector<InputFile> files = {dayFile(kAmd1MinFormat), dayFile(kSfc1MinFormat)};
  const CleanRun clean = cleanRun(files);
  for (const InputFile& file : files) place(file);

  const CliRun run = runCli(convertArgs({files[0].name, files[1].name}, GetParam()),
                            {.addressSpace = rlim_t{1} << 30, .stack = rlim_t{2} << 30});
  ASSERT_EQ(run.signal, 0) << "killed by signal " << run.signal << "; " << run.err;
  EXPECT_EQ(run.err, "");
  if (run.status == 0) {
    EXPECT_EQ(firstDifference(clean.log, run.out), "");
    expectOutputs(clean.outputs, outputFiles());
  } else {
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.ends_with(kMemoryLog)) << run.out;
  }
}

INSTANTIATE_TEST_SUITE_P(Fault, FaultMemoryJobsTest, ::testing::Values(1u, 2u),
                         [](const auto& info) { return "Jobs" + std::to_string(info.param); });

// ---------------------------------------------------------------------------
// Awkward names

struct NameCase {
  const char* label;
  std::string fileName;
  std::string sheetName;  // the file name as the sheet's first row holds it (CP932)
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.label; }

class FaultNameTest : public ::testing::TestWithParam<NameCase> {};

// Odd bytes in a name pass unchanged into the output paths and the log; the
// sheet's first row holds the name in CP932, "?" standing for what CP932
// cannot hold and for bytes that are not UTF-8. The rest is as for any name.
TEST_P(FaultNameTest, OddNameIsConvertedUnderItsOwnName) {
  const NameCase& name = GetParam();
  const InputFile plain = dayFile(kAmd1MinFormat);
  const CleanRun reference = cleanRun({plain});
  const std::string plainCsv = reference.outputs.at(csvKey(plain.name));
  const std::string sheetRest = plainCsv.substr(plainCsv.find('\n'));

  ScopedTempDir folder;
  place({name.fileName, plain.bytes});
  const CliRun run = runCli(convertArgs({name.fileName}));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const std::string log =
      convertedItemLog(name.fileName, name.fileName, plain.bytes.size(), kAmd1MinEnd);
  EXPECT_EQ(firstDifference(log + std::string(kBatchEndLog), run.out), "");
  expectOutputs({{hexKey(name.fileName), reference.outputs.at(hexKey(plain.name))},
                 {csvKey(name.fileName), std::string(kSheetNameCell) + name.sheetName + sheetRest},
                 {chkKey(name.fileName), reference.outputs.at(chkKey(plain.name))}},
                outputFiles());
}

INSTANTIATE_TEST_SUITE_P(
    Fault, FaultNameTest,
    ::testing::Values(
        NameCase{"Comma", "amd_1min_20160412.62078,1", "amd_1min_20160412.62078,1"},
        NameCase{"InvalidUtf8", "amd_1min_20160412.62078\xFF\xFE", "amd_1min_20160412.62078??"},
        NameCase{"LoneContinuationByte", "amd_1min_20160412.62078\x80x",
                 "amd_1min_20160412.62078?x"},
        NameCase{"CutUtf8Sequence", "amd_1min_20160412.62078\xE8\xA6", "amd_1min_20160412.62078??"},
        NameCase{"NotInCp932", "amd_1min_20160412.62078_\xC3\xA9\xF0\x9F\x98\x80",
                 "amd_1min_20160412.62078_??"},
        NameCase{"InCp932", "amd_1min_20160412.62078_\xE8\xA6\xB3\xE6\xB8\xAC",
                 "amd_1min_20160412.62078_\x8A\xCF\x91\xAA"},
        NameCase{"BackslashInName", "amd_1min_20160412.62078\\x", "amd_1min_20160412.62078\\x"}),
    [](const auto& info) { return std::string(info.param.label); });

// Byte sequences that look like UTF-8 but are not (an encoded surrogate, an
// overlong form, a code point beyond U+10FFFF) are bytes that are not part of
// a valid UTF-8 sequence: each of them becomes one "?".
TEST(FaultNames, IllFormedUtf8SequenceBecomesOneQuestionMarkPerByte) {
  const InputFile plain = dayFile(kAmd1MinFormat);
  const std::pair<std::string, std::string> cases[] = {
      {"amd_1min_20160412.62078\xED\xA0\x80", "amd_1min_20160412.62078???"},
      {"amd_1min_20160412.62078\xE0\x80\x80", "amd_1min_20160412.62078???"},
      {"amd_1min_20160412.62078\xF4\x90\x80\x80", "amd_1min_20160412.62078????"},
  };
  ScopedTempDir folder;
  for (const auto& [fileName, sheetName] : cases) {
    place({fileName, plain.bytes});
    const CliRun run = runCli(convertArgs({fileName}));
    EXPECT_EQ(run.status, 0);
    const std::string csv = readFile(csvPath(fileName));
    EXPECT_EQ(csv.substr(0, csv.find('\n')), std::string(kSheetNameCell) + sheetName);
  }
}

// On POSIX "\" is part of a name, not a separator: a name that starts with
// another word before "\" is not an observation file name.
TEST(FaultNames, BackslashBeforeTheKindIsNotATarget) {
  ScopedTempDir folder;
  const InputFile file{"obs\\amd_1min_20160412.62078", dayFile(kAmd1MinFormat).bytes};
  place(file);
  const CliRun run = runCli(convertArgs({file.name}));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, std::string(kNotTargetLog) + std::string(kBatchEndLog));
  expectOutputs({}, outputFiles());
}

// A path of 4,095 bytes (the longest the system opens) through deep folders.
TEST(FaultNames, DeepPathOf4095BytesIsConverted) {
  const InputFile plain = dayFile(kAmd1MinFormat);
  const CleanRun reference = cleanRun({plain});
  ScopedTempDir folder;
  const std::string path = placeDeep(4095, plain.name, plain.bytes);

  const CliRun run = runCli(convertArgs({path}));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const std::string log = convertedItemLog(path, plain.name, plain.bytes.size(), kAmd1MinEnd);
  EXPECT_EQ(firstDifference(log + std::string(kBatchEndLog), run.out), "");
  expectOutputs(reference.outputs, outputFiles());
}

// A name of 255 bytes, the longest a folder holds, leaves no room for the
// prefix and suffix of its output names: the HEX file cannot be opened.
TEST(FaultNames, NameTooLongForItsOutputsEndsTheBatch) {
  ScopedTempDir folder;
  std::string name = "amd_1min_20160412.62078_";
  name.resize(255, 'n');
  place({name, "x"});

  const CliRun run = runCli(convertArgs({name}));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, openedLine(name) + notOpenedLine(hexPath(name)));
  expectOutputs({}, outputFiles());
}

// ---------------------------------------------------------------------------
// Batches cut short

struct AbortCase {
  const char* label;
  // Puts the entry that ends the batch in place and returns its path.
  std::string (*setUp)();
  unsigned jobs;
};

void PrintTo(const AbortCase& c, std::ostream* os) { *os << c.label << ", jobs " << c.jobs; }

class FaultAbortTest : public ::testing::TestWithParam<AbortCase> {};

// Whatever ends a batch, every item before it is complete and byte for byte
// as in a clean run, and its log is the clean run's. Items after it are
// not written, or with several jobs at most written completely.
TEST_P(FaultAbortTest, EarlierItemsAreCompleteAndUnchanged) {
  const AbortCase& cause = GetParam();
  std::vector<InputFile> earlier;
  for (const SampleFile& sample : sampleFiles()) earlier.push_back(dayFile(sample.format));
  earlier.push_back({"sfc_1min_20160413.47662", "short"});
  const std::vector<InputFile> later = {dayFile(kAmd1MinFormat, "amd_1min_20160414.62078"),
                                        {"sfc_1min_20160414.47662", "later"}};
  const CleanRun clean = cleanRun(earlier);
  const CleanRun laterClean = cleanRun(later);

  ScopedTempDir folder;
  std::vector<std::string> targets;
  for (const InputFile& file : earlier) {
    place(file);
    targets.push_back(file.name);
  }
  targets.push_back("notes.txt");
  targets.push_back(cause.setUp());
  for (const InputFile& file : later) {
    place(file);
    targets.push_back(file.name);
  }

  const CliRun run = runCli(convertArgs(targets, cause.jobs));
  EXPECT_EQ(run.status, 1);
  const std::string before = withoutBatchEnd(clean.log) + std::string(kNotTargetLog);
  EXPECT_EQ(firstDifference(before, run.out.substr(0, before.size())), "");
  EXPECT_EQ(run.out.find("作業終了"), std::string::npos);

  const Outputs actual = outputFiles();
  for (const InputFile& file : earlier) {
    SCOPED_TRACE(file.name);
    expectOutputs(outputsOf(clean.outputs, file.name), outputsOf(actual, file.name));
  }
  for (const InputFile& file : later) {
    SCOPED_TRACE(file.name);
    const Outputs written = outputsOf(actual, file.name);
    if (cause.jobs == 1 || !written.empty()) {
      expectOutputs(cause.jobs == 1 ? Outputs{} : outputsOf(laterClean.outputs, file.name),
                    written);
    }
  }
}

constexpr const char* kFailing = "amd_1min_20160412.99999";

std::vector<AbortCase> abortCases() {
  const AbortCase causes[] = {
      {"MissingInput", [] { return std::string(kFailing); }, 1},
      {"InputIsFolder",
       [] {
         fs::create_directory(kFailing);
         return std::string(kFailing);
       },
       1},
      {"HexPathIsFolder",
       [] {
         writeFile(kFailing, "x");
         fs::create_directory(hexPath(kFailing));
         return std::string(kFailing);
       },
       1},
      {"CsvPathIsFolder",
       [] {
         writeFile(kFailing, "x");
         fs::create_directory(csvPath(kFailing));
         return std::string(kFailing);
       },
       1},
      {"ChkPathIsFolder",
       [] {
         writeFile(kFailing, "x");
         fs::create_directory(chkPath(kFailing));
         return std::string(kFailing);
       },
       1},
      {"ChkOnFullDisk",
       [] {
         writeFile(kFailing, "x");
         fs::create_symlink("/dev/full", chkPath(kFailing));
         return std::string(kFailing);
       },
       1},
  };
  // Every cause in a sequential batch; with several jobs, one cause at the
  // input, one at an output and one at the read-back.
  std::vector<AbortCase> cases(std::begin(causes), std::end(causes));
  for (const AbortCase& cause : causes) {
    const std::string_view label = cause.label;
    if (label == "MissingInput" || label == "HexPathIsFolder" || label == "ChkOnFullDisk") {
      cases.push_back({cause.label, cause.setUp, 3});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Fault, FaultAbortTest, ::testing::ValuesIn(abortCases()),
                         [](const auto& info) {
                           return std::string(info.param.label) + "Jobs" +
                                  std::to_string(info.param.jobs);
                         });

}  // namespace
}  // namespace fenmarq
