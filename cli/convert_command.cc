// fenmarq-cli convert: the window's batch, its log on standard output.
#include <charconv>
#include <filesystem>
#include <system_error>

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/file_operands.h"
#include "cli/written_files.h"
#include "convert/batch_converter.h"
#include "convert/output_folders.h"
#include "platform/file_system.h"

namespace fenmarq {
namespace {

constexpr CommandHelp kHelp = {
    .synopsis = {"  fenmarq-cli convert [--make-dirs] [--jobs N] [--files-from LIST] FILE...\n"
                 "  fenmarq-cli convert [OPTION...] --files-from LIST [FILE...]\n",
                 "  fenmarq-cli convert [--make-dirs] [--jobs N] [--files-from LIST] FILE...\n"
                 "  fenmarq-cli convert [オプション...] --files-from LIST [FILE...]\n"},
    .description = {R"(convert     Converts FILE... in order, writing ./CSVFiles/CSV_<name>.CSV,
            ./HEXFiles/HEX_<name>.txt and ./CHKFiles/CHK_<name>.txt under the
            current directory. The log goes to standard output (UTF-8),
            message texts to standard error. On Windows a FILE with * or ?
            in its last part stands for the files it matches, in name
            order; one that matches nothing stays as typed.
  --make-dirs  create HEXFiles, CSVFiles and CHKFiles when missing
  --files-from LIST, --files-from=LIST
               convert the files named in LIST too, after FILE...: one
               path a line, UTF-8 or UTF-16 with a byte-order mark (on
               Windows also the system's code page, as cmd writes it);
               LIST - is standard input; may be given more than once
  --jobs N, --jobs=N, -j N, -jN
               convert N files at a time (default: one per processor);
               --jobs 1 converts them one after the other on one thread.
               The log, the exit status and every file are the same
               either way: no file after one that ends the batch touches
               an output.
)",
                    R"(convert     FILE... を順に変換し、現在のフォルダの下の
            ./CSVFiles/CSV_<名前>.CSV、./HEXFiles/HEX_<名前>.txt、
            ./CHKFiles/CHK_<名前>.txt に書きます。ログは標準出力に（UTF-8）、
            メッセージは標準エラー出力に出ます。Windows では、最後の部分に
            * か ? のある FILE は当てはまるファイルを名前の順に表し、
            当てはまるものがなければそのままの名前です。
  --make-dirs  HEXFiles、CSVFiles、CHKFiles がなければ作る
  --files-from LIST, --files-from=LIST
               LIST にあるファイルも FILE... の後に変換する。一行に一つの
               パスで、UTF-8 か BOM 付きの UTF-16（Windows ではコマンド
               プロンプトが書くシステムの文字コードも）。LIST が - なら
               標準入力。何度でも指定できる
  --jobs N, --jobs=N, -j N, -jN
               N 個のファイルを同時に変換する（既定はプロセッサごとに一つ）。
               --jobs 1 なら一つのスレッドで一つずつ変換する。どちらでも
               ログ、終了ステータス、ファイルは同じで、変換を止めたファイルの
               後のファイルは出力に触れない
)"},
    .exitStatus = {R"(Exit status: 0 done; 1 a failure ended the batch (a LIST that cannot be
read, an input or output that cannot be opened, memory, a start folder that
cannot be entered, no CP932 codec); 2 usage error (a LIST line that is not
text among them); 3 done, but a file could not be written or closed
completely, a CHK comparison failed, or an input held more bytes than its
reported size.
)",
                   R"(終了ステータス: 0 終了。1 途中で終了した（読めない LIST、開けない入力
ファイルや出力ファイル、メモリ不足、移動できない起動フォルダ、CP932 の変換が
ない）。2 使い方の誤り（テキストとして読めない LIST の行を含む）。3 終了したが、
書き込みか閉じるのを終えられなかったファイル、確認に失敗した CHK ファイル、
報告された大きさより長い入力がある。
)"},
};

constexpr Text kJobsText = {"--jobs needs a number from 1 to 256",
                            "--jobs には 1 から 256 までの数が要ります"};
constexpr Text kNeedsFileText = {"convert needs at least one FILE",
                                 "convert には FILE が一つ以上要ります"};
constexpr Text kNoCurrentDirectoryText = {"cannot read the current directory: {}",
                                          "現在のフォルダを読めません: {}"};
constexpr Text kHeldOpenText = {
    "{} is open in another program (Excel, say), which lets no one else write it; close it "
    "there and convert again",
    "{} はほかのプログラム（エクセルなど）が開いているため書き込めません。そのプログラムで"
    "閉じてから、もう一度変換してください"};
constexpr Text kMissingFoldersText = {
    "missing output folders in {}:{}; create them there, or use --make-dirs",
    "{} に出力フォルダがありません:{}。そこに作るか、--make-dirs を付けてください"};

enum ConvertOption { kMakeDirs, kJobs, kFilesFrom };

constexpr OptionRule kOptions[] = {
    {kMakeDirs, "--make-dirs"},
    {kJobs, "--jobs", 'j', kJobsText},
    {kFilesFrom, "--files-from", '\0', kListMissingText},
};

struct ConvertSettings {
  bool makeDirs = false;
  unsigned jobs = 0;  // one worker per processor
  std::vector<std::string> targets, lists;
};

// The log goes to standard output byte for byte.
class StdoutLog final : public LogPane {
 public:
  void append(std::string_view text) override { print(StandardStream::kOutput, text); }
  void setLimit(std::size_t) override {}
};

// Message-box texts go to standard error; there is no list to select in.
class StderrView final : public BatchView {
 public:
  void selectEntry(std::size_t) override {}
  void showFields(const ObservationFileName&) override {}
  void showMessageBox(std::string_view text) override {
    flushStandard(StandardStream::kOutput);  // keep the message where it happened in a terminal
    print(StandardStream::kError, std::string(text) + "\n");
  }
};

bool parseJobs(std::string_view text, unsigned& jobs) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 256) {
    return false;
  }
  jobs = value;
  return true;
}

int settingsOf(const std::vector<ArgumentItem>& items, ConvertSettings& settings) {
  for (const ArgumentItem& item : items) {
    if (item.kind == ArgumentItem::kError) return usageError(item.text);
    if (item.kind == ArgumentItem::kOperand) {
      appendFileArgument(item.text, settings.targets);
    } else if (item.option == kMakeDirs) {
      settings.makeDirs = true;
    } else if (item.option == kFilesFrom) {
      settings.lists.push_back(item.text);
    } else if (!parseJobs(item.text, settings.jobs)) {
      return usageError(kJobsText);
    }
  }
  return kExitSuccess;
}

// Names the output folders that `start` lacks, when it lacks any.
void hintMissingFolders(const std::string& start) {
  std::string missing;
  for (const std::string_view folder : missingOutputFolders(start))
    missing.append(" ").append(folder);
  if (!missing.empty()) printError(fill(kMissingFoldersText, {start, missing}));
}

int runBatch(const ConvertSettings& settings, const std::string& start) {
  StdoutLog log;
  StderrView view;
  const BatchResult result =
      BatchConverter({.workers = settings.jobs, .sheetThreads = settings.jobs != 1})
          .run(settings.targets, start, log, view);
  if (!result.failure.empty()) printError(result.failure);
  if (!result.heldOpen.empty()) printError(fill(kHeldOpenText, {result.heldOpen}));
  if (result.outputNotOpened) hintMissingFolders(start);
  if (!flushStandard(StandardStream::kOutput)) return kExitBatchEnded;
  if (!result.finished) return kExitBatchEnded;
  return result.problemsReported ? kExitDataProblems : kExitSuccess;
}

int convert(const std::vector<ArgumentItem>& items) {
  ConvertSettings settings;
  if (const int status = settingsOf(items, settings); status != kExitSuccess) return status;
  if (const int status = appendListed(settings.lists, settings.targets); status != kExitSuccess) {
    return status;
  }
  if (settings.targets.empty() && settings.lists.empty()) return usageError(kNeedsFileText);
  std::error_code error;
  const std::filesystem::path start = std::filesystem::current_path(error);
  if (error) return failed(fill(kNoCurrentDirectoryText, {error.message()}), kExitBatchEnded);
  if (settings.makeDirs && !makeOutputFolders(start)) return kExitBatchEnded;
  return runBatch(settings, utf8FromPath(start));
}

}  // namespace

const Command kConvertCommand = {"convert", kHelp, kOptions, convert};

}  // namespace fenmarq
