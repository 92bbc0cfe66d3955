// fenmarq-cli run as a process on real folders where things go wrong: output
// folders missing or blocked, inputs that cannot be read, a full disk, files
// of awkward lengths and names, too little memory, batches cut short. Every
// run is checked in full: its log, its standard error, its exit status and
// the content of every output folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "cli/sample_day.h"
#include "convert/conversion_rule.h"
#include "convert/file.h"
#include "formats/amd_10sec.h"
#include "formats/amd_1min.h"
#include "formats/sfc_10sec.h"
#include "formats/sfc_1min.h"
#include "platform/file_system.h"
#include "tests/support/cli_run.h"
#include "tests/support/expected_log.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

namespace fs = std::filesystem;
using namespace fenmarq::testing;

// Address-space limits do not work under AddressSanitizer or
// ThreadSanitizer, which reserve terabytes of it; descriptor limits do not
// work under AddressSanitizer, whose runtime needs descriptors of its own (to
// probe memory through a pipe).
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif
#if defined(__SANITIZE_THREAD__)
constexpr bool kSanitizer = true;
#elif defined(__has_feature)
constexpr bool kSanitizer = kAddressSanitizer || __has_feature(thread_sanitizer);
#else
constexpr bool kSanitizer = kAddressSanitizer;
#endif

constexpr std::string_view kMemoryLog = "メモリ不足で作業ができません。\r\n";
constexpr std::string_view kChkCloseFailed = "ファイル 'chk-data' は閉じられませんでした。\n\n";
constexpr const char* kFailing = "amd_1min_20160412.99999";
constexpr std::size_t kAmd1MinLayout = 246'240;

struct InputFile {
  std::string name;
  std::string bytes;
};

// A plausible day file of `format`, under the sample's name or `name`.
InputFile dayFile(const RecordFormat& format, std::string name = "") {
  for (const SampleFile& sample : sampleFiles()) {
    if (&sample.format != &format) continue;
    const std::vector<std::uint8_t> bytes = makeSampleDay(sample);
    return {name.empty() ? std::string(sample.fileName) : name, {bytes.begin(), bytes.end()}};
  }
  throw std::logic_error("no sample for a format");
}

void place(const InputFile& file) { writeFile(file.name, file.bytes); }

struct CleanRun {
  std::string log;
  Outputs outputs = {};
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
  EXPECT_TRUE(writeFileInFolder(folders, fileName, bytes)) << std::strerror(errno);
  const std::string path = folders + fileName;
  EXPECT_EQ(path.size(), length);
  return path;
}

void makeSparse(const std::string& name, std::uintmax_t size) {
  writeFile(name, std::string_view());
  fs::resize_file(name, size);
}

// ---------------------------------------------------------------------------
// Batches that end at one entry

// What the entry that ends the batch leaves behind.
struct Ending {
  std::string path = "";  // the entry as listed
  std::string log = "";   // its item's log
  Outputs outputs = {};   // its files in the output folders
  std::string err = "";
  Outputs untouched = {};                // files elsewhere and what they still hold ("": not there)
  std::shared_ptr<void> held = nullptr;  // what blocks it until the run is checked
};

struct EndCase {
  std::string label;
  std::function<Ending()> setUp;  // puts the entry in place
  unsigned jobs = 0;              // 0: without --jobs
  bool noEarlier = false;         // no item can be converted before it
  RunLimits limits = {};
  bool posixOnly = false;    // builds on links, FIFOs, devices or resource limits
  bool windowsOnly = false;  // builds on share modes
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.label << ", jobs " << c.jobs; }

class FaultEndTest : public ::testing::TestWithParam<EndCase> {};

// Whatever ends a batch, every item before it is complete and byte for byte
// as in a clean run, and its log is the clean run's; the ending item logs and
// leaves exactly what it got to. Whatever the number of jobs, no item after
// it touches an output: their files stay as an earlier run left them.
TEST_P(FaultEndTest, EarlierItemsAreCompleteAndTheBatchEndsThere) {
  const EndCase& c = GetParam();
  if (c.posixOnly && !onPosix()) GTEST_SKIP() << "needs POSIX links, FIFOs, devices or limits";
  // POSIX opens a file for writing whoever else has it open.
  if (c.windowsOnly && onPosix()) GTEST_SKIP() << "needs Windows share modes";
  if (kSanitizer && c.limits.addressSpace != 0) {
    GTEST_SKIP() << "address-space limits do not work under sanitizers";
  }
  std::vector<InputFile> earlier;
  if (!c.noEarlier) {
    for (const SampleFile& sample : sampleFiles()) earlier.push_back(dayFile(sample.format));
    earlier.push_back({"sfc_1min_20160413.47662", "short"});
  }
  const std::vector<InputFile> later = {dayFile(kAmd1MinFormat, "amd_1min_20160414.62078"),
                                        {"sfc_1min_20160414.47662", "later"}};
  const CleanRun clean = earlier.empty() ? CleanRun{std::string(kBatchEndLog)} : cleanRun(earlier);

  ScopedTempDir folder;
  std::vector<std::string> targets = {"notes.txt"};
  for (const InputFile& file : earlier) {
    place(file);
    targets.push_back(file.name);
  }
  for (const InputFile& file : later) place(file);
  const Ending ending = c.setUp();
  targets.insert(targets.end(), {"notes.txt", ending.path, later[0].name, later[1].name});
  Outputs earlierRun;  // what an earlier run left of the later entries
  for (const InputFile& file : later) {
    for (const Output output : kOutputs) {
      if (!fs::is_directory(folderOf(output))) continue;
      writeFile(outputKey(output, file.name), "from an earlier run");
      earlierRun[outputKey(output, file.name)] = "from an earlier run";
    }
  }

  RunLimits limits = c.limits;
  limits.seconds = 60;  // nothing may block
  const CliRun run = runCli(convertArgs(targets, c.jobs), limits);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, ending.err);
  for (const auto& [path, content] : ending.untouched) EXPECT_EQ(readFile(path), content) << path;
  const std::string log = std::string(kNotTargetLog) + withoutBatchEnd(clean.log) +
                          std::string(kNotTargetLog) + ending.log;
  EXPECT_EQ(firstDifference(log, run.out), "");
  const Outputs actual = outputFiles();
  Outputs expected = clean.outputs;
  expected.insert(ending.outputs.begin(), ending.outputs.end());
  expected.merge(earlierRun);
  expectOutputs(expected, actual);
}

// An output that cannot be opened, or must not be: the item's other outputs
// keep what an earlier run left in them (the ones opened before it were not
// emptied). Nothing is written through a link, into the input or into a file
// with another name, and nothing waits for a reader of a FIFO.
Ending blockedOutput(Output blocked, const std::string& blocker) {
  const InputFile target = dayFile(kAmd1MinFormat, kFailing);
  place(target);
  Ending ending{kFailing, openedLine(kFailing)};
  const std::string key = outputKey(blocked, kFailing);
  for (const Output other : kOutputs) {
    if (other == blocked) continue;
    writeFile(outputKey(other, kFailing), "from an earlier run");
    ending.outputs[outputKey(other, kFailing)] = "from an earlier run";
  }
  for (Output before = Output::kHex; before != blocked;
       before = static_cast<Output>(static_cast<int>(before) + 1)) {
    ending.log += openedLine(outputPath(before, kFailing));
  }
  const std::string path = outputPath(blocked, kFailing);
  ending.log += notOpenedLine(path);
  if (blocker == "FolderMissing") {
    fs::remove(folderOf(blocked));
    ending.err = "fenmarq-cli: missing output folders in " + utf8FromPath(fs::current_path()) +
                 ": " + std::string(folderOf(blocked)) +
                 "; create them there, or use --make-dirs\n";
  }
  if (blocker == "PathIsFolder") {
    fs::create_directory(path);
    ending.outputs[outputKey(blocked, kFailing)] = "<folder>";
  }
  if (blocker == "Fifo") {
    EXPECT_TRUE(makeFifo(path));
    ending.outputs[key] = "<fifo>";
  }
  const auto link = [&](const std::string& to) {
    fs::create_symlink(to, path);
    ending.outputs[key] = "-> " + to;
  };
  if (blocker == "LinkToInput") link("../" + std::string(kFailing));
  if (blocker == "HardLinkToInput") {
    fs::create_hard_link(kFailing, path);
    ending.outputs[key] = target.bytes;
  }
  if (blocker == "HardLinkToOutsideFile") {
    writeFile("outside.txt", "outside");
    fs::create_hard_link("outside.txt", path);
    ending.outputs[key] = "outside";
    ending.untouched["outside.txt"] = "outside";
  }
  if (blocker == "LinkToOutsideFile") {
    writeFile("outside.txt", "outside");
    link("../outside.txt");
    ending.untouched["outside.txt"] = "outside";
  }
  if (blocker == "DanglingLink") {
    link("../made-outside.txt");
    ending.untouched["made-outside.txt"] = "";
  }
  // A sheet open in Excel, which lets others read it but not write it.
  if (blocker == "HeldOpenElsewhere") {
    writeFile(key, "held open elsewhere");
    ending.outputs[key] = "held open elsewhere";
    ending.held = holdOpenForReadersOnly(key);
    EXPECT_NE(ending.held, nullptr);
    // Said after the log, in the user's language (the suite's Japanese run).
    ending.err = std::getenv("FENMARQ_JAPANESE_SYSTEM") != nullptr
                     ? "fenmarq-cli: " + path +
                           " はほかのプログラム（エクセルなど）が開いているため書き込めません。"
                           "そのプログラムで閉じてから、もう一度変換してください\n"
                     : "fenmarq-cli: " + path +
                           " is open in another program (Excel, say), which lets no one else "
                           "write it; close it there and convert again\n";
  }
  ending.untouched[kFailing] = target.bytes;
  return ending;
}

// An input that cannot be opened ends the batch before any of its outputs is
// opened: outputs it left from an earlier run stay as they were.
Ending unreadableInput(std::string_view kind) {
  Ending ending{kFailing};
  for (const Output output : kOutputs) {
    writeFile(outputKey(output, kFailing), "from an earlier run");
    ending.outputs[outputKey(output, kFailing)] = "from an earlier run";
  }
  if (kind == "InputIsFolder") fs::create_directory(kFailing);
  if (kind == "Fifo" && !makeFifo(kFailing)) ADD_FAILURE() << std::strerror(errno);
  if (kind == "LinkToEndlessDevice") fs::create_symlink("/dev/zero", kFailing);
  if (kind == "DanglingLink") fs::create_symlink("nowhere/x", kFailing);
  if (kind == "LinkLoop") {
    fs::create_symlink("loop", kFailing);
    fs::create_symlink(kFailing, "loop");
  }
  if (kind == "PathOf4096Bytes") {
    ending.path = placeDeep(4096, kFailing, dayFile(kAmd1MinFormat).bytes);
  }
  ending.log = notOpenedLine(ending.path);
  return ending;
}

std::vector<EndCase> endCases() {
  std::vector<EndCase> cases;
  for (const Output output : kOutputs) {
    for (const std::string blocker :
         {"FolderMissing", "PathIsFolder", "Fifo", "LinkToInput", "HardLinkToInput",
          "HardLinkToOutsideFile", "LinkToOutsideFile", "DanglingLink", "HeldOpenElsewhere"}) {
      // Hard links are the one kind of link that Windows makes as readily.
      const bool posixOnly = blocker == "Fifo" || (blocker.find("Link") != std::string::npos &&
                                                   !blocker.starts_with("HardLink"));
      cases.push_back({std::string(folderOf(output).substr(0, 3)) + blocker,
                       [=] { return blockedOutput(output, blocker); },
                       1,
                       blocker == "FolderMissing",
                       {},
                       posixOnly,
                       blocker == "HeldOpenElsewhere"});
    }
  }
  // A tool that merges identical files links an item's HEX and CHK files
  // into one: the first of them is refused, neither is emptied, and nothing
  // waits for the lock it already holds.
  cases.push_back({"HexAndChkHardLinked",
                   [] {
                     place(dayFile(kAmd1MinFormat, kFailing));
                     const std::string hex = outputKey(Output::kHex, kFailing);
                     const std::string chk = outputKey(Output::kChk, kFailing);
                     writeFile(hex, "from an earlier run");
                     fs::create_hard_link(hex, chk);
                     return Ending{
                         kFailing,
                         openedLine(kFailing) + notOpenedLine(outputPath(Output::kHex, kFailing)),
                         {{hex, "from an earlier run"}, {chk, "from an earlier run"}}};
                   },
                   1});
  for (const std::string kind : {"MissingInput", "InputIsFolder", "Fifo", "LinkToEndlessDevice",
                                 "DanglingLink", "LinkLoop", "PathOf4096Bytes"}) {
    const bool posixOnly = kind != "MissingInput" && kind != "InputIsFolder";
    cases.push_back({kind, [=] { return unreadableInput(kind); }, 0, false, {}, posixOnly});
  }
  // A name of 255 bytes, the longest a folder holds, leaves no room for the
  // prefix and suffix of its output names: the HEX file cannot be opened.
  // (Windows opens no path this long at all.)
  cases.push_back(
      {"NameTooLongForItsOutputs",
       [] {
         std::string name = std::string(kFailing) + "_";
         name.resize(255, 'n');
         writeFile(name, "x");
         return Ending{name, openedLine(name) + notOpenedLine(outputPath(Output::kHex, name))};
       },
       0,
       false,
       {},
       true});
  // A file whose image cannot be had ends the batch with the memory text; its
  // outputs were opened and stay empty. The file is a sparse one of more than
  // 4 GiB: an image sized from a size cut to 32 bits would fit and pass.
  cases.push_back({"ImageThatDoesNotFit",
                   [] {
                     makeSparse(kFailing, (std::uintmax_t{1} << 32) + 3);
                     Ending ending{kFailing, openedLine(kFailing)};
                     for (const Output output : kOutputs) {
                       ending.log += openedLine(outputPath(output, kFailing));
                       ending.outputs[outputKey(output, kFailing)] = "";
                     }
                     ending.log += kMemoryLog;
                     return ending;
                   },
                   1, false, RunLimits{.addressSpace = std::uint64_t{1} << 30}, true});
  // With several jobs, which must change nothing: causes at the input and
  // at each output.
  for (std::size_t i = 0, n = cases.size(); i < n; ++i) {
    for (const char* label : {"MissingInput", "HEXPathIsFolder", "CSVFolderMissing",
                              "CHKLinkToInput", "HexAndChkHardLinked", "CSVHeldOpenElsewhere"}) {
      if (cases[i].label != label) continue;
      for (const unsigned jobs : {2u, 3u, 8u}) {
        EndCase concurrent = cases[i];
        concurrent.jobs = jobs;
        cases.push_back(concurrent);
      }
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Fault, FaultEndTest, ::testing::ValuesIn(endCases()),
                         [](const auto& info) {
                           return info.param.label + "Jobs" + std::to_string(info.param.jobs);
                         });

// A file that holds more than its reported size (here a kernel text file,
// reported as 0 bytes; a file still being written behaves alike) must not be
// cut to the reported size with a clean exit: either all of it is converted,
// or the cut is reported and the exit status says data was lost.
TEST(FaultInputs, FileLongerThanItsReportedSizeIsNotCutSilently) {
  if (!onPosix()) GTEST_SKIP() << "needs a kernel text file and a link to it";
  ScopedTempDir folder;
  const std::string content = readFile("/proc/version");
  if (content.empty() || fs::file_size("/proc/version") >= content.size()) {
    GTEST_SKIP() << "no file here that reports less than it holds";
  }
  fs::create_symlink("/proc/version", kFailing);
  const CliRun run = runCli(convertArgs({kFailing}));
  if (run.status == 0) {
    EXPECT_NE(
        run.out.find("バイナリファイルの長さ   = " + std::to_string(content.size()) + " byte"),
        std::string::npos)
        << run.out;
    EXPECT_EQ(readFile(outputPath(Output::kHex, kFailing)), hexOf(content));
  } else {
    EXPECT_EQ(run.status, 3) << run.out << run.err;
  }
}

// ---------------------------------------------------------------------------
// A full disk

class FaultFullDiskTest : public ::testing::TestWithParam<std::tuple<Output, bool>> {};

// HEX or CSV files that cannot be written completely, on a full disk (a
// whole day file, or a single byte) are each reported as not closed; the
// items go on and end, the batch goes on, the log is the clean run's and the
// exit status says data was lost.
TEST_P(FaultFullDiskTest, WriteFailureIsReportedAndTheBatchGoesOn) {
  if (!onPosix()) GTEST_SKIP() << "mounts a full file system";
  const auto [output, wholeDay] = GetParam();
  const InputFile target =
      wholeDay ? dayFile(kAmd1MinFormat) : InputFile{"amd_1min_20160412.62078", "\x01"};
  const InputFile next = dayFile(kSfc1MinFormat);
  const CleanRun clean = cleanRun({target, next});
  ScopedTempDir folder;
  for (const InputFile& file : {target, next}) place(file);
  const SmallFileSystem full(std::string(folderOf(output)), 0, /*full=*/true);
  if (!full.mounted())
    GTEST_SKIP() << "cannot mount a file system here (needs root and a mount namespace)";
  Outputs expected = clean.outputs;
  for (const InputFile& file : {target, next}) expected[outputKey(output, file.name)] = "";

  const CliRun run = runCli(convertArgs({target.name, next.name}));
  EXPECT_EQ(run.status, 3);
  const std::string message = output == Output::kHex
                                  ? "ファイル 'hex-data' は閉じられませんでした。\n\n"
                                  : "ファイル 'csv-data' は閉じられませんでした。\n\n";
  EXPECT_EQ(run.err, message + message);
  EXPECT_EQ(firstDifference(clean.log, run.out), "");
  Outputs actual = outputFiles();
  actual.erase(std::string(folderOf(output)) + "/.filler");
  expectOutputs(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(Fault, FaultFullDiskTest,
                         ::testing::Combine(::testing::Values(Output::kHex, Output::kCsv),
                                            ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(folderOf(std::get<0>(info.param)).substr(0, 3)) +
                                  (std::get<1>(info.param) ? "WholeDay" : "OneByte");
                         });

// A CHK file that cannot be written is reported as not closed and fails its
// check; the item goes on, and so does the batch.
TEST(FaultFullDisk, UnwrittenChkFileFailsItsCheck) {
  if (!onPosix()) GTEST_SKIP() << "mounts a full file system";
  const InputFile target = {"amd_1min_20160412.62078", "\x01"};
  const CleanRun clean = cleanRun({target, target});
  ScopedTempDir folder;
  place(target);
  const SmallFileSystem full(std::string(folderOf(Output::kChk)), 0, /*full=*/true);
  if (!full.mounted())
    GTEST_SKIP() << "cannot mount a file system here (needs root and a mount namespace)";

  const CliRun run = runCli(convertArgs({target.name, target.name}));
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.err, std::string(kChkCloseFailed) + std::string(kChkCloseFailed));
  const std::string chk = outputPath(Output::kChk, target.name);
  const std::string passed =
      "ファイル " + chk + " のサイズは正確です。\r\n\r\nCHKファイルの確認 成功。\n\r\n";
  std::string log = clean.log;
  for (std::size_t at; (at = log.find(passed)) != std::string::npos;) {
    log.replace(at, passed.size(), "CHKファイルの確認 失敗。\n\r\n");
  }
  EXPECT_EQ(firstDifference(log, run.out), "");
}

// A log that cannot be written is lost data too: the exit status says so,
// though every output file is complete.
TEST(FaultFullDisk, LostLogIsNotSuccess) {
  if (!onPosix()) GTEST_SKIP() << "needs /dev/full";
  std::vector<InputFile> files;
  std::vector<std::string> targets;
  // Enough items for the log to pass through the stream's buffer more than once.
  for (int day = 10; day < 40; ++day) {
    files.push_back({"amd_1min_201604" + std::to_string(day) + ".62078", "x"});
    targets.push_back(files.back().name);
  }
  const CleanRun clean = cleanRun(files);
  ScopedTempDir folder;
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
// Inputs of awkward lengths and names

struct ConvertCase {
  std::string label;
  std::size_t sample;          // the index of the format's sample, and of its rule
  std::size_t length;          // the sample's day file cut or lengthened with 0xA5 bytes
  std::string fileName = "";   // "" keeps the sample's name
  std::string sheetName = "";  // the file name as the sheet's first row holds it (CP932)
  std::size_t pathLength = 0;  // listed through deep folders as a path of this length
  bool posixOnly = false;      // a name or path that Windows does not hold
};

void PrintTo(const ConvertCase& c, std::ostream* os) { *os << c.label; }

class FaultConvertTest : public ::testing::TestWithParam<ConvertCase> {};

// Any length converts. The renderings hold every byte of the file; the sheet
// reads a short file as if padded with zeros to its layout, and ignores the
// bytes of a long one beyond it. Odd bytes in a name pass unchanged into the
// output paths and the log; the sheet's first row holds the name in CP932,
// "?" standing for what CP932 cannot hold and for each byte that is not part
// of a valid UTF-8 sequence (an encoded surrogate, an overlong form, a code
// point beyond U+10FFFF).
TEST_P(FaultConvertTest, ConvertsAsIfCutOrPaddedToTheLayoutUnderItsOwnName) {
  const ConvertCase& c = GetParam();
  if (c.posixOnly && !onPosix()) GTEST_SKIP() << "a name or path Windows does not hold";
  const RecordFormat& format = sampleFiles()[c.sample].format;
  const std::size_t layout = layoutSize(format);
  InputFile file = dayFile(format);
  file.bytes.resize(c.length, '\xA5');
  InputFile padded = {file.name, file.bytes.substr(0, layout)};
  padded.bytes.resize(layout, '\0');
  const std::string csv = cleanRun({padded}).outputs.at(outputKey(Output::kCsv, file.name));
  const std::string name = c.fileName.empty() ? file.name : c.fileName;

  ScopedTempDir folder;
  std::string path = name;
  if (c.pathLength == 0) writeFile(name, file.bytes);
  if (c.pathLength != 0) path = placeDeep(c.pathLength, name, file.bytes);
  const CliRun run = runCli(convertArgs({path}));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const std::string log =
      convertedItemLog(path, name, c.length, conversionRules()[c.sample].endOfItemText,
                       c.length < layout ? layout : 0);
  EXPECT_EQ(firstDifference(log + std::string(kBatchEndLog), run.out), "");
  const std::string sheetName = c.fileName.empty() ? name : c.sheetName;
  expectOutputs({{outputKey(Output::kHex, name), hexOf(file.bytes)},
                 {outputKey(Output::kCsv, name),
                  std::string(kSheetNameCell) + sheetName + csv.substr(csv.find('\n'))},
                 {outputKey(Output::kChk, name), hexOf(file.bytes)}},
                outputFiles());
}

std::vector<ConvertCase> convertCases() {
  std::vector<ConvertCase> cases;
  for (std::size_t i = 0; i < sampleFiles().size(); ++i) {
    const RecordFormat& format = sampleFiles()[i].format;
    const std::size_t layout = layoutSize(format);
    std::string sample(sampleFiles()[i].fileName.substr(0, sampleFiles()[i].fileName.find('.')));
    std::erase(sample, '_');
    const std::pair<const char*, std::size_t> lengths[] = {
        {"Empty", 0},
        {"OneByte", 1},
        {"FirstRecordShortByOne", format.firstRecordOffset + format.recordSize - 1},
        {"LayoutShortByOne", layout - 1},
        {"Layout", layout},
        {"LayoutPlusOne", layout + 1}};
    for (const auto& [label, length] : lengths) cases.push_back({sample + label, i, length});
  }
  // Names that are not UTF-8 text, and "\" in a name, exist on POSIX only.
  const auto name = [&](const char* label, std::string_view suffix, std::string_view sheet,
                        bool posixOnly = false, std::size_t pathLength = 0) {
    const std::string plain = "amd_1min_20160412.62078";
    cases.push_back({label, 0, kAmd1MinLayout, plain + std::string(suffix),
                     plain + std::string(sheet), pathLength, posixOnly});
  };
  name("Comma", ",1", ",1");
  name("InvalidUtf8", "\xFF\xFE", "??", true);
  name("LoneContinuationByte", "\x80x", "?x", true);
  name("CutUtf8Sequence", "\xE8\xA6", "??", true);
  name("EncodedSurrogate", "\xED\xA0\x80", "???", true);
  name("OverlongForm", "\xE0\x80\x80", "???", true);
  name("BeyondU10FFFF", "\xF4\x90\x80\x80", "????", true);
  name("NotInCp932", "_\xC3\xA9\xF0\x9F\x98\x80", "_??");
  // "ソ" in CP932 ends in the byte of "\".
  name("InCp932", "_\xE3\x82\xBD\xE8\xA6\xB3\xE6\xB8\xAC", "_\x83\x5C\x8A\xCF\x91\xAA");
  name("BackslashInName", "\\x", "\\x", true);
  name("DeepPathOf4095Bytes", "", "", true, 4095);  // the longest path the system opens
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Fault, FaultConvertTest, ::testing::ValuesIn(convertCases()),
                         [](const auto& info) { return info.param.label; });

// ---------------------------------------------------------------------------
// Any number of jobs, one result

struct JobsCase {
  std::string label;
  std::function<std::vector<std::string>()> setUp;  // places the inputs; returns the list
  RunLimits limits = {};
  bool posixOnly = false;
};

void PrintTo(const JobsCase& c, std::ostream* os) { *os << c.label; }

class FaultJobsTest : public ::testing::TestWithParam<JobsCase> {};

// Standard output, standard error, the exit status and every output file are
// those of the same list converted with one job, under the same limits.
TEST_P(FaultJobsTest, EveryNumberOfJobsGivesTheOneJobResult) {
  const JobsCase& c = GetParam();
  if (c.posixOnly && !onPosix()) GTEST_SKIP() << "needs POSIX resource limits";
  // Under ThreadSanitizer the row short of descriptors still runs: the
  // workers' fall-back to one thread is checked there too.
  if ((kSanitizer && c.limits.addressSpace != 0) ||
      (kAddressSanitizer && c.limits.openFiles != 0)) {
    GTEST_SKIP() << "resource limits do not work under sanitizers";
  }
  const auto convertWith = [&](unsigned jobs) {
    ScopedTempDir folder;
    RunLimits limits = c.limits;
    limits.seconds = 60;  // nothing may block
    const CliRun run = runCli(convertArgs(c.setUp(), jobs), limits);
    return std::pair{run, outputFiles()};
  };
  const auto [reference, referenceOutputs] = convertWith(1);
  ASSERT_EQ(reference.status, 0) << "one job must have room to work: " << reference.err;
  for (const unsigned jobs : {2u, 3u, 8u, 16u}) {
    SCOPED_TRACE("jobs " + std::to_string(jobs));
    const auto [run, outputs] = convertWith(jobs);
    EXPECT_EQ(run.status, reference.status);
    EXPECT_EQ(run.err, reference.err);
    EXPECT_EQ(firstDifference(reference.out, run.out), "");
    expectOutputs(referenceOutputs, outputs);
  }
}

// `count` day files, the formats in turn, each under a station of its own.
std::vector<std::string> placeDayFiles(std::size_t count) {
  std::vector<std::string> targets;
  for (std::size_t i = 0; i < count; ++i) {
    const SampleFile& sample = sampleFiles()[i % sampleFiles().size()];
    std::string name(sample.fileName.substr(0, sample.fileName.find('.') + 1));
    name += std::to_string(10000 + i);
    place(dayFile(sample.format, name));
    targets.push_back(name);
  }
  return targets;
}

const JobsCase kJobsCases[] = {
    // Seven descriptors an item: sixteen items at once would need more than
    // there are.
    {"FewDescriptors", [] { return placeDayFiles(32); }, {.openFiles = 24}, true},
    // Sixteen workers' stacks and memory would not fit.
    {"LittleAddressSpace",
     [] { return placeDayFiles(12); },
     {.addressSpace = std::uint64_t{100} << 20},
     true},
    // On Windows the two names are one output file: the later entry's outputs
    // are the ones left, though the earlier one takes far longer.
    {"NamesDifferingInLetterCase",
     [] {
       fs::create_directory("a");
       fs::create_directory("b");
       place(dayFile(kAmd10SecFormat, "a/amd_10sec_20160412.x"));
       place({"b/amd_10sec_20160412.X", "\x01"});
       return std::vector<std::string>{"a/amd_10sec_20160412.x", "b/amd_10sec_20160412.X"};
     }},
};

INSTANTIATE_TEST_SUITE_P(Fault, FaultJobsTest, ::testing::ValuesIn(kJobsCases),
                         [](const auto& info) { return info.param.label; });

// ---------------------------------------------------------------------------
// Too little memory

class FaultMemoryJobsTest : public ::testing::TestWithParam<unsigned> {};

// A helper thread that the system refuses to start (here: every new thread
// asks for a 2 GiB stack within 1 GiB of address space) is memory that is not
// available. It must not end the process: either the work is done without
// the thread, or the batch ends with the memory text.
TEST_P(FaultMemoryJobsTest, ThreadThatCannotStartIsNotACrash) {
  if (!onPosix()) GTEST_SKIP() << "needs POSIX resource limits";
  if (kSanitizer) GTEST_SKIP() << "address-space limits do not work under sanitizers";
  const std::vector<InputFile> files = {dayFile(kAmd1MinFormat), dayFile(kSfc1MinFormat)};
  const CleanRun clean = cleanRun(files);
  ScopedTempDir folder;
  for (const InputFile& file : files) place(file);

  const CliRun run =
      runCli(convertArgs({files[0].name, files[1].name}, GetParam()),
             {.addressSpace = std::uint64_t{1} << 30, .stack = std::uint64_t{2} << 30});
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

INSTANTIATE_TEST_SUITE_P(Fault, FaultMemoryJobsTest, ::testing::Values(0u, 2u),
                         [](const auto& info) {
                           return info.param == 0 ? std::string("Default")
                                                  : "Jobs" + std::to_string(info.param);
                         });

// ---------------------------------------------------------------------------
// Careless surroundings

// Whatever the memory limit, the process ends by itself: done, or the batch
// ended with the memory text (or a codec that could not be loaded, on
// standard error). Never a signal.
TEST(FaultMemory, TightAddressSpaceEndsTheBatchNeverTheProcess) {
  if (!onPosix()) GTEST_SKIP() << "needs POSIX resource limits";
  if (kSanitizer) GTEST_SKIP() << "address-space limits do not work under sanitizers";
  ScopedTempDir folder;
  std::vector<std::string> targets;
  for (const SampleFile& sample : sampleFiles()) {
    place(dayFile(sample.format));
    targets.emplace_back(sample.fileName);
  }
  // Below some limit the program cannot even be loaded: start at the first
  // one at which it runs at all.
  std::uint64_t lowest = 4;
  while (runCli({"--version"}, {.addressSpace = lowest << 20}).status != 0 && lowest < 40)
    lowest += 2;
  for (const unsigned jobs : {0u, 8u}) {
    for (std::uint64_t megabytes = lowest; megabytes <= lowest + 36; megabytes += 2) {
      const CliRun run = runCli(convertArgs(targets, jobs), {.addressSpace = megabytes << 20});
      SCOPED_TRACE(std::to_string(megabytes) + " MiB, jobs " + std::to_string(jobs));
      ASSERT_EQ(run.signal, 0) << run.err;
      // A program linked with the C++ runtime as a shared library may find
      // no room to be loaded at all (the loader's status, 127).
      if (run.status == 127) continue;
      EXPECT_TRUE(run.status == 0 || run.status == 1) << run.status;
      if (run.status == 1) {
        EXPECT_TRUE(run.out.ends_with(kMemoryLog) || !run.err.empty());
      }
    }
  }
}

// A long log never piles up in memory: the CHK files land on a full disk, so
// each entry logs one failure per byte of its input, hundreds of megabytes
// in all, while two workers convert them; a later entry's texts wait for
// their turn in a buffer of fixed size.
TEST(FaultMemory, LongLogStaysWithinAFixedMemory) {
  if (!onPosix()) GTEST_SKIP() << "needs POSIX resource limits";
  if (kSanitizer) GTEST_SKIP() << "address-space limits do not work under sanitizers";
  ScopedTempDir folder;
  const InputFile head = dayFile(kSfc10SecFormat);
  place(head);
  writeFile(kFailing, std::string(std::size_t{12} << 20, '\x5A'));
  const SmallFileSystem full(std::string(folderOf(Output::kChk)), 0, /*full=*/true);
  if (!full.mounted())
    GTEST_SKIP() << "cannot mount a file system here (needs root and a mount namespace)";
  const CliRun run = runCli(convertArgs({head.name, kFailing}, 2),
                            {.stdoutPath = "/dev/null", .addressSpace = std::uint64_t{640} << 20});
  ASSERT_EQ(run.signal, 0);
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.err, std::string(kChkCloseFailed) + std::string(kChkCloseFailed));
}

// With standard output or error closed, no output file takes its place: the
// outputs are byte for byte a normal run's.
TEST(FaultStreams, ClosedStandardStreamsLeaveTheOutputsAlone) {
  if (!onPosix()) GTEST_SKIP() << "closes the descriptors of a child process";
  std::vector<InputFile> files;
  std::vector<std::string> targets;
  for (int station = 10001; station <= 10060; ++station) {
    files.push_back({"amd_1min_20160412." + std::to_string(station),
                     std::string(3000, static_cast<char>(station))});
    targets.push_back(files.back().name);
  }
  const CleanRun clean = cleanRun(files);
  for (const bool closeStdout : {true, false}) {
    const bool closeStderr = !closeStdout;
    ScopedTempDir folder;
    for (const InputFile& file : files) place(file);
    const CliRun run =
        runCli(convertArgs(targets, 8), {.closeStdout = closeStdout, .closeStderr = closeStderr});
    EXPECT_EQ(run.status, 0) << closeStdout;
    expectOutputs(clean.outputs, outputFiles());
  }
}

// samples on a disk that fills up: the run fails, and every sample's name
// holds either nothing or the whole sample, never a part of it.
TEST(FaultFullDisk, SamplesLeaveNoPartialFile) {
  if (!onPosix()) GTEST_SKIP() << "mounts a file system";
  ScopedTempDir folder;
  fs::create_directory("small");
  const SmallFileSystem small("small", 1 << 20, /*full=*/false);
  if (!small.mounted())
    GTEST_SKIP() << "cannot mount a file system here (needs root and a mount namespace)";
  const CliRun run = runCli({"samples", "small"});
  EXPECT_EQ(run.status, 1);
  for (const fs::directory_entry& entry : fs::directory_iterator("small")) {
    if (entry.is_directory()) continue;
    const std::string name = entry.path().filename().string();
    const auto sample = std::find_if(sampleFiles().begin(), sampleFiles().end(),
                                     [&](const SampleFile& s) { return s.fileName == name; });
    ASSERT_NE(sample, sampleFiles().end()) << name << " is left behind";
    EXPECT_EQ(readFile("small/" + name), dayFile(sample->format).bytes) << name;
  }
}

// A table that cannot be written completely leaves the older table under its
// name as it was, and nothing beside it.
TEST(FaultFullDisk, UnwrittenTableLeavesTheOlderOne) {
  if (!onPosix()) GTEST_SKIP() << "mounts a file system";
  ScopedTempDir folder;
  const InputFile day = dayFile(kAmd1MinFormat);
  place(day);
  fs::create_directory("tables");
  const SmallFileSystem small("tables", 64 << 10, /*full=*/false);
  if (!small.mounted())
    GTEST_SKIP() << "cannot mount a file system here (needs root and a mount namespace)";
  writeFile("tables/t.csv", "older table");
  const CliRun run = runCli({"table", "-o", "tables/t.csv", day.name});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "fenmarq-cli: cannot write tables/t.csv\n");
  EXPECT_EQ(readFile("tables/t.csv"), "older table");
  EXPECT_EQ(std::distance(fs::directory_iterator("tables"), fs::directory_iterator()), 1);
}

// What `table -o` does to what is already there, and what a failed run
// leaves: the older table and its schema as they were, and nothing beside
// them.
TEST(FaultTable, OutputIsReplacedWholeOrWrittenThrough) {
  if (!onPosix()) GTEST_SKIP() << "links, FIFOs, devices and permission bits";
  ScopedTempDir folder;
  const InputFile day = dayFile(kAmd1MinFormat);
  place(day);
  const std::string table = runCli({"table", "-o", "-", day.name}).out;
  ASSERT_EQ(table.substr(0, 5), "file,");
  const auto entries = [](const std::string& dir) {
    return std::distance(fs::directory_iterator(dir), fs::directory_iterator());
  };
  fs::create_directory("o");
  const auto older = [] {
    writeFile("o/t.csv", "older table");
    writeFile("o/t.csv.schema.json", "older schema");
  };

  // An input that cannot be read, after the first one has been written.
  older();
  fs::create_symlink("/proc/self/mem", "amd_1min_20160413.62078");
  CliRun run = runCli({"table", "-o", "o/t.csv", day.name, "amd_1min_20160413.62078"});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(readFile("o/t.csv"), "older table");
  EXPECT_EQ(readFile("o/t.csv.schema.json"), "older schema");
  EXPECT_EQ(entries("o"), 2);

  // A schema that cannot be written: the table stays the older one too.
  run = runCli({"table", "-o", "o/t.csv", "--schema", "missing/s.json", day.name});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(readFile("o/t.csv"), "older table");
  EXPECT_EQ(entries("o"), 2);

  // The table and its schema under one name: refused before anything is written.
  run = runCli({"table", "-o", "o/new.csv", "--schema", "o/./new.csv", day.name});
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(fs::exists("o/new.csv"));

  // A replaced table keeps its permissions; the schema on standard output
  // leaves no file for it.
  fs::permissions("o/t.csv", fs::perms::owner_read | fs::perms::owner_write);
  run = runCli({"table", "-o", "o/t.csv", "--schema", "-", day.name});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, 1), "{");
  EXPECT_EQ(readFile("o/t.csv"), table);
  EXPECT_EQ(readFile("o/t.csv.schema.json"), "older schema");
  EXPECT_EQ(fs::status("o/t.csv").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  // A link: the file it leads to is replaced, and the link stays.
  fs::create_symlink("t.csv", "o/link.csv");
  run = runCli({"table", "-o", "o/link.csv", "--schema", "o/link.json", day.name});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::is_symlink("o/link.csv"));
  EXPECT_EQ(readFile("o/t.csv"), table);

  // A name as long as the file system takes.
  const std::string longName = "o/" + std::string(250, 'x') + ".csv";
  run = runCli({"table", "-o", longName, "--schema", "o/long.json", day.name});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(readFile(longName), table);

  // A device and a FIFO are written through, with no schema beside them.
  run = runCli({"table", "-o", "/dev/null", day.name});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_FALSE(fs::exists("/dev/null.schema.json"));
  ASSERT_TRUE(makeFifo("o/fifo"));
  std::future<std::string> read = std::async(std::launch::async, [] { return readFile("o/fifo"); });
  run = runCli({"table", "-o", "o/fifo", day.name}, {.seconds = 60});
  EXPECT_EQ(run.status, 0) << run.err;
  // A run that never opened the FIFO leaves the reader waiting: end it.
  if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) writeFile("o/fifo", "");
  EXPECT_EQ(read.get(), table);
  EXPECT_TRUE(fs::is_fifo("o/fifo"));
  EXPECT_FALSE(fs::exists("o/fifo.schema.json"));
  EXPECT_EQ(entries("o"), 7);  // t.csv and its schema, link.csv, link.json, the long pair, fifo
}

// A run killed while it writes the table, by a signal it cannot handle as
// SIGKILL, leaves the older table and its schema as they were and nothing
// beside them.
TEST(FaultTable, KilledRunLeavesTheOlderTableAndNoTemporaryFile) {
  if (!onPosix()) GTEST_SKIP() << "resource limits";
  ScopedTempDir folder;
  const InputFile day = dayFile(kSfc10SecFormat);
  place(day);
  fs::create_directory("o");
  writeFile("o/t.csv", "older table");
  writeFile("o/t.csv.schema.json", "older schema");
  const CliRun run = runCli({"table", "-o", "o/t.csv", day.name}, {.killedPastFileSize = 1 << 20});
  EXPECT_NE(run.signal, 0) << run.status << run.err;  // killed, not failed
  EXPECT_EQ(readFile("o/t.csv"), "older table");
  EXPECT_EQ(readFile("o/t.csv.schema.json"), "older schema");
  EXPECT_EQ(std::distance(fs::directory_iterator("o"), fs::directory_iterator()), 2);
}

// Two runs writing one table at once leave one run's table beside that
// run's schema, never one run's table beside the other's schema.
TEST(FaultProcesses, TwoRunsWritingOneTableLeaveOneRunsPair) {
  ScopedTempDir folder;
  const InputFile amd = dayFile(kAmd1MinFormat), sfc = dayFile(kSfc1MinFormat);
  place(amd);
  place(sfc);
  struct Pair {
    std::string table, schema;
    bool operator==(const Pair&) const = default;
  };
  const auto pairOf = [](const std::string& out) {
    return Pair{readFile(out), readFile(out + ".schema.json")};
  };
  ASSERT_EQ(runCli({"table", "-o", "a.csv", amd.name}).status, 0);
  ASSERT_EQ(runCli({"table", "-o", "s.csv", sfc.name}).status, 0);
  const Pair amdPair = pairOf("a.csv"), sfcPair = pairOf("s.csv");
  for (int round = 0; round < 16; ++round) {
    auto first = std::async(std::launch::async, [&] {
      return runCli({"table", "-o", "t.csv", amd.name});
    });
    auto second = std::async(std::launch::async, [&] {
      return runCli({"table", "-o", "t.csv", sfc.name});
    });
    const CliRun amdRun = first.get(), sfcRun = second.get();
    ASSERT_EQ(amdRun.status, 0) << amdRun.err;
    ASSERT_EQ(sfcRun.status, 0) << sfcRun.err;
    const Pair left = pairOf("t.csv");
    ASSERT_TRUE(left == amdPair || left == sfcPair) << "round " << round;
  }
}

// Two processes converting files of the same name in one folder never leave
// outputs of both: each item locks its outputs while it writes and checks
// them, so the last one to finish leaves all three of its own.
TEST(FaultProcesses, SameNameFromTwoProcessesLeavesOneFilesOutputs) {
  const InputFile first = dayFile(kSfc10SecFormat);
  InputFile second = first;
  for (char& byte : second.bytes) byte = static_cast<char>(byte ^ 0x5A);
  const CleanRun cleanFirst = cleanRun({first}), cleanSecond = cleanRun({second});
  ScopedTempDir folder;
  for (const char* sub : {"a", "b"}) fs::create_directory(sub);
  writeFile("a/" + first.name, first.bytes);
  writeFile("b/" + second.name, second.bytes);
  for (int round = 0; round < 8; ++round) {
    CliRun runs[2];
    std::thread other([&] { runs[1] = runCli(convertArgs({"b/" + second.name})); });
    runs[0] = runCli(convertArgs({"a/" + first.name}));
    other.join();
    for (const CliRun& run : runs) {
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_NE(run.out.find("CHKファイルの確認 成功。"), std::string::npos);
    }
    const Outputs actual = outputFiles();
    if (actual != cleanFirst.outputs) expectOutputs(cleanSecond.outputs, actual);
  }
}

// Two runs writing the samples into one folder at once both succeed, and
// every sample is whole.
TEST(FaultProcesses, SamplesFromTwoProcessesIntoOneFolder) {
  ScopedTempDir folder;
  for (int round = 0; round < 5; ++round) {
    CliRun runs[2];
    std::thread other([&] { runs[1] = runCli({"samples", "s"}); });
    runs[0] = runCli({"samples", "s"});
    other.join();
    for (const CliRun& run : runs) EXPECT_EQ(run.status, 0) << run.err;
  }
  std::size_t files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator("s"))
    files += !entry.is_directory();
  EXPECT_EQ(files, sampleFiles().size());
  for (const SampleFile& sample : sampleFiles()) {
    EXPECT_EQ(readFile("s/" + std::string(sample.fileName)), dayFile(sample.format).bytes);
  }
}

// No entry waits for its turn while it holds output locks, and no later entry
// locks any before the earlier ones have: another run that holds the first
// entry's outputs (here the test itself) can take the second's, and both
// runs go on. A run of the list the other way round, both entries' logs
// long (every CHK write fails), would otherwise wait for this one forever.
TEST(FaultProcesses, NoEntryHoldsLocksWhileEarlierOnesWait) {
  if (!onPosix()) GTEST_SKIP() << "mounts a full file system, which Windows cannot";
  ScopedTempDir folder;
  const InputFile first = dayFile(kAmd1MinFormat);
  const InputFile second{"amd_1min_20160413.62078", std::string(40'000, '\x5A')};
  place(first);
  place(second);
  const SmallFileSystem full(std::string(folderOf(Output::kChk)), 0, /*full=*/true);
  if (!full.mounted())
    GTEST_SKIP() << "cannot mount a file system here (needs root and a mount namespace)";
  std::optional<File> firstHeld(std::in_place);  // as another run converting it would
  ASSERT_TRUE(firstHeld->open(outputPath(Output::kHex, first.name), OpenMode::kOutput));
  ASSERT_TRUE(firstHeld->lock());

  std::future<CliRun> run = std::async(std::launch::async, [&] {
    return runCli(convertArgs({first.name, second.name}, 2), {.seconds = 60});
  });
  std::this_thread::sleep_for(std::chrono::seconds(1));
  std::optional<File> secondHeld(std::in_place);
  std::future<bool> taken = std::async(std::launch::async, [&] {
    return secondHeld->open(outputPath(Output::kHex, second.name), OpenMode::kOutput) &&
           secondHeld->lock();
  });
  const bool free = taken.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  EXPECT_TRUE(free) << "the second entry holds its locks while the first waits";
  firstHeld.reset();
  EXPECT_TRUE(taken.get());
  secondHeld.reset();
  const CliRun result = run.get();
  EXPECT_EQ(result.status, 3) << result.err;
}

}  // namespace
}  // namespace fenmarq
