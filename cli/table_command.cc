// fenmarq-cli table: one analysis table of many day files of one format.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/file_operands.h"
#include "cli/written_files.h"
#include "convert/file.h"
#include "convert/replacement_file.h"
#include "convert/table_writer.h"
#include "formats/data_table.h"
#include "formats/table_schema.h"
#include "platform/file_system.h"
#include "platform/temporary_file.h"

namespace fenmarq {
namespace {

constexpr CommandHelp kHelp = {
    .synopsis = {"  fenmarq-cli table [--raw] [--ascii-names] [--bom] [-o OUT] [--schema FILE] "
                 "FILE...\n"
                 "  fenmarq-cli table [OPTION...] --files-from LIST [FILE...]\n"
                 "  fenmarq-cli table [--raw] --columns FORMAT\n",
                 "  fenmarq-cli table [--raw] [--ascii-names] [--bom] [-o OUT] [--schema FILE] "
                 "FILE...\n"
                 "  fenmarq-cli table [オプション...] --files-from LIST [FILE...]\n"
                 "  fenmarq-cli table [--raw] --columns FORMAT\n"},
    .description = {R"(table       Writes one table of every record of every FILE, in order, to OUT
            or to standard output, for pandas, R, DuckDB and the like: UTF-8,
            CSV (RFC 4180), one header row, one row per record. Columns:
            file, record (from 0 in its file), time (where every record
            carries its own time stamp; ISO 8601 with +09:00), then one per
            field, named group/label[unit], holding physical values as the
            format's notes and unit cells give them. Empty cells are missing
            values. Every FILE must select the same record format by its
            name; files shorter than their layout read as zeros, with a
            warning on standard error. With -o OUT, OUT.schema.json describes
            every column (Frictionless Table Schema).
  -o OUT, --output OUT, --output=OUT
               write the table to OUT (- is standard output); it replaces
               OUT, or the file a link OUT leads to, once complete, keeping
               its permissions; a device, FIFO or /dev/stdout is written
               through, without a schema unless --schema asks for one
  --schema FILE, --schema=FILE
               write the schema to FILE (with or without -o); - is standard
               output, with -o FILE
  --files-from LIST, --files-from=LIST
               read the files named in LIST too, after FILE...; LIST and
               the wildcards of FILE as for convert
  --raw        the stored integers, as the CSV sheet holds them
  --ascii-names
               name the field columns g01_01, g01_02, ... (group, column)
  --bom        begin the table with a UTF-8 byte-order mark, for Excel to
               open it by double-click
  --columns FORMAT
               describes every column of FORMAT (a file name, or its
               kind_interval_YYYYMMDD part) as a CSV table: names, type,
               unit, sheet column, encoding, offset, scale, note
)",
                    R"(table       すべての FILE のすべての記録を順に一つの表にして、OUT か標準
            出力に書きます。pandas、R、DuckDB などのための UTF-8 の CSV
            （RFC 4180）で、見出しが一行、記録ごとに一行です。列は file、
            record（ファイルの中で 0 から）、time（どの記録も時刻を持つ
            とき。ISO 8601、+09:00）、続いて項目ごとに一つで、名前は
            グループ/ラベル[単位]、値は形式の注と単位の欄のとおりの物理量
            です。空の欄は欠測です。FILE はすべて、名前で同じ記録形式を
            選ぶものにします。形式より短いファイルはゼロとして読み、標準
            エラー出力に警告が出ます。-o OUT のときは、OUT.schema.json が
            すべての列を説明します（Frictionless Table Schema）。
  -o OUT, --output OUT, --output=OUT
               表を OUT に書く（- は標準出力）。書き終えてから OUT を（OUT が
               リンクならその先のファイルを）置き換え、アクセス権は保つ。
               デバイス、FIFO、/dev/stdout にはそのまま書き、--schema で
               求めない限りスキーマは書かない
  --schema FILE, --schema=FILE
               スキーマを FILE に書く（-o があってもなくても）。- は標準出力で、
               -o FILE と一緒に使う
  --files-from LIST, --files-from=LIST
               LIST にあるファイルも FILE... の後に読む。LIST と FILE の
               ワイルドカードは convert と同じ
  --raw        CSV ファイルと同じ、記録された整数のまま
  --ascii-names
               項目の列を g01_01、g01_02、...（グループ、列）と名付ける
  --bom        表の初めに UTF-8 の BOM を付ける（エクセルでダブルクリック
               して開けるように）
  --columns FORMAT
               FORMAT（ファイル名か、その kind_interval_YYYYMMDD の部分）の
               すべての列を CSV の表で説明する：名前、型、単位、CSV ファイルの
               列、符号化、位置、倍率、注
)"},
    .exitStatus = {R"(Exit status: 0 done; 1 the table could not be written (an input that
cannot be read, an output that cannot be opened, memory) or a LIST cannot be
read; 2 usage error (a LIST line that is not text among them), or inputs that
are no conversion target, cannot be opened or differ in format.
)",
                   R"(終了ステータス: 0 終了。1 表を書けなかった（読めない入力、開けない出力、
メモリ不足）か、読めない LIST がある。2 使い方の誤り（テキストとして読めない
LIST の行を含む）か、入力に変換対象でないもの、開けないもの、形式の違うものが
ある。
)"},
};

constexpr Text kNeedsFileText = {"table needs at least one FILE",
                                 "table には FILE が一つ以上要ります"};
constexpr Text kColumnsAloneText = {"--columns takes only --raw",
                                    "--columns と一緒に使えるのは --raw だけです"};
constexpr Text kNotTargetText = {"{} is not a conversion target", "{} は変換対象ではありません"};
constexpr Text kSchemaToStdoutText = {"--schema - needs -o FILE",
                                      "--schema - には -o FILE が要ります"};
constexpr Text kIsInputText = {"{} is one of the FILEs", "{} は入力の FILE の一つです"};
constexpr Text kBothToOneText = {"the table and its schema cannot both go to {}",
                                 "表とスキーマを両方 {} に書くことはできません"};
constexpr Text kNotOpenedText = {"cannot open {}", "{} を開けません"};
constexpr Text kNotWrittenText = {"cannot write {}", "{} に書き込めません"};
constexpr Text kFolderNotLockedText = {"cannot lock the folder of {}",
                                       "{} のフォルダをロックできません"};
constexpr Text kWarningText = {"warning: {}", "警告: {}"};

enum TableOption { kFilesFrom, kAsciiNames, kRaw, kBom, kSchema, kOutput, kColumns };

constexpr OptionRule kOptions[] = {
    {kFilesFrom, "--files-from", '\0', kListMissingText},
    {kAsciiNames, "--ascii-names"},
    {kRaw, "--raw"},
    {kBom, "--bom"},
    {kSchema,
     "--schema",
     '\0',
     {"--schema needs a file name", "--schema にはファイル名が要ります"}},
    {kOutput, "--output", 'o', {"{} needs a file name", "{} にはファイル名が要ります"}},
    {kColumns, "--columns", '\0', {"--columns needs a FORMAT", "--columns には FORMAT が要ります"}},
};

struct TableSettings {
  bool asciiNames = false, raw = false, byteOrderMark = false;
  std::optional<std::string> output, columnsOf, schema;
  std::vector<std::string> files, lists;

  bool toFile() const { return output && *output != "-"; }
  bool schemaToStdout() const { return schema && *schema == "-"; }
};

int settingsOf(const std::vector<ArgumentItem>& items, TableSettings& settings) {
  for (const ArgumentItem& item : items) {
    if (item.kind == ArgumentItem::kError) return usageError(item.text);
    if (item.kind == ArgumentItem::kOperand) {
      appendFileArgument(item.text, settings.files);
      continue;
    }
    switch (item.option) {
      case kFilesFrom:
        settings.lists.push_back(item.text);
        break;
      case kAsciiNames:
        settings.asciiNames = true;
        break;
      case kRaw:
        settings.raw = true;
        break;
      case kBom:
        settings.byteOrderMark = true;
        break;
      case kSchema:
        settings.schema = item.text;
        break;
      case kOutput:
        settings.output = item.text;
        break;
      case kColumns:
        settings.columnsOf = item.text;
        break;
    }
  }
  return kExitSuccess;
}

// The description of every column of the format that --columns names.
int listColumns(const TableSettings& settings) {
  if (!settings.files.empty() || !settings.lists.empty() || settings.output ||
      settings.asciiNames || settings.schema || settings.byteOrderMark) {
    return usageError(kColumnsAloneText);
  }
  const RecordFormat* format = formatOfName(*settings.columnsOf);
  if (format == nullptr) return failed(fill(kNotTargetText, {*settings.columnsOf}), kExitUsage);
  return printProduct(columnDescriptionCsv(DataTable(*format, settings.raw)));
}

// Checks the inputs before anything is written: kExitSuccess, or kExitUsage
// after naming the first that is no target of the first one's format or
// cannot be opened.
int checkSources(const std::vector<std::string>& files, TableSources& sources) {
  const std::string refusal = checkTableSources(files, sources);
  return refusal.empty() ? kExitSuccess : failed(refusal, kExitUsage);
}

// Whether `path` names one of the inputs.
bool isOneOf(const std::string& path, const TableSources& sources) {
  File existing;
  return existing.open(path, OpenMode::kRead) &&
         std::ranges::find(sources.identities, existing.identity()) != sources.identities.end();
}

// Whether `a` and `b` name one file: the same file where they exist, the
// same absolute name where they do not yet.
bool sameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  const std::filesystem::path x = pathFromUtf8(a), y = pathFromUtf8(b);
  if (std::filesystem::exists(x, error) && std::filesystem::exists(y, error)) {
    return std::filesystem::equivalent(x, y, error);
  }
  return compareFileNames(utf8FromPath(std::filesystem::absolute(x, error).lexically_normal()),
                          utf8FromPath(std::filesystem::absolute(y, error).lexically_normal())) ==
         0;
}

// Checks that the table and its schema go to places apart from each other
// and from the inputs: kExitSuccess, or kExitUsage after saying where not.
int checkOutputs(const TableSettings& settings, const TableSources& sources) {
  const std::optional<std::string>& output = settings.output;
  const std::optional<std::string>& schema = settings.schema;
  const bool toFile = settings.toFile(), schemaToStdout = settings.schemaToStdout();
  if (schemaToStdout && (!toFile || sameFile(*output, "/dev/stdout"))) {
    return usageError(kSchemaToStdoutText);
  }
  if (toFile && isOneOf(*output, sources)) return failed(fill(kIsInputText, {*output}), kExitUsage);
  if (schema && !schemaToStdout && isOneOf(*schema, sources)) {
    return failed(fill(kIsInputText, {*schema}), kExitUsage);
  }
  if (toFile && schema && !schemaToStdout && sameFile(*output, *schema)) {
    return usageError(fill(kBothToOneText, {*schema}));
  }
  return kExitSuccess;
}

// What Excel needs before the table to read it as UTF-8 when it is opened by
// a double-click; tools that read CSV skip it.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void warn(std::string_view text) { printError(fill(kWarningText, {text})); }

// The table goes to standard output byte for byte.
class StdoutSink final : public ByteSink {
 public:
  void write(std::string_view bytes) override { print(StandardStream::kOutput, bytes); }
};

int writeToStandardOutput(const TableSettings& settings, const DataTable& table,
                          std::string_view schemaText) {
  StdoutSink sink;
  if (settings.byteOrderMark) sink.write(kByteOrderMark);
  std::string error;
  const bool written = writeTable(settings.files, table, settings.asciiNames, sink, warn, error);
  if (!productWritten()) error = say(kStdoutLostText);
  if (!written || !error.empty()) return failed(error, kExitBatchEnded);
  if (settings.schema && !writeWhole(*settings.schema, schemaText)) {
    return failed(fill(kNotWrittenText, {*settings.schema}), kExitBatchEnded);
  }
  return kExitSuccess;
}

// The table and its schema are both written whole before either is put in
// place, the schema first: a failed run leaves both as they were. An output
// that is no regular file is written through, and gets a schema only where
// --schema asks for one.
int writeToFiles(const TableSettings& settings, const DataTable& table,
                 std::string_view schemaText) {
  const std::string& output = *settings.output;
  ReplacementFile out(output);
  if (!out.open()) return failed(fill(kNotOpenedText, {output}), kExitBatchEnded);
  // Runs that write into one folder replace their pairs in turn, so that no
  // table ends up beside another run's schema.
  FolderLock pairLock;
  if (!out.writesThrough() && !pairLock.lock(out.folder())) {
    return failed(fill(kFolderNotLockedText, {output}), kExitBatchEnded);
  }
  std::optional<std::string> schema = settings.schema;
  if (!schema && !out.writesThrough()) schema = output + ".schema.json";
  std::optional<ReplacementFile> schemaOut;
  if (schema && !settings.schemaToStdout()) {
    schemaOut.emplace(*schema);
    if (!schemaOut->open()) return failed(fill(kNotOpenedText, {*schema}), kExitBatchEnded);
    schemaOut->file().write(schemaText);
  }
  if (settings.byteOrderMark) out.file().write(kByteOrderMark);
  std::string error;
  if (!writeTable(settings.files, table, settings.asciiNames, out.file(), warn, error)) {
    return failed(error, kExitBatchEnded);
  }
  // Every byte of the table is on the disk before the schema is put in place.
  if (!out.file().flush()) return failed(fill(kNotWrittenText, {output}), kExitBatchEnded);
  if (schemaOut && !schemaOut->commit()) {
    return failed(fill(kNotWrittenText, {*schema}), kExitBatchEnded);
  }
  if (settings.schemaToStdout() && printProduct(schemaText) != kExitSuccess) return kExitBatchEnded;
  if (!out.commit()) return failed(fill(kNotWrittenText, {output}), kExitBatchEnded);
  return kExitSuccess;
}

int table(const std::vector<ArgumentItem>& items) {
  TableSettings settings;
  if (const int status = settingsOf(items, settings); status != kExitSuccess) return status;
  if (settings.columnsOf) return listColumns(settings);
  if (const int status = appendListed(settings.lists, settings.files); status != kExitSuccess) {
    return status;
  }
  if (settings.files.empty()) return usageError(kNeedsFileText);
  TableSources sources;
  if (const int status = checkSources(settings.files, sources); status != kExitSuccess) {
    return status;
  }
  if (const int status = checkOutputs(settings, sources); status != kExitSuccess) return status;
  const DataTable dataTable(*sources.format, settings.raw);
  const std::string schemaText = tableSchemaJson(dataTable, settings.asciiNames);
  return settings.toFile() ? writeToFiles(settings, dataTable, schemaText)
                           : writeToStandardOutput(settings, dataTable, schemaText);
}

}  // namespace

const Command kTableCommand = {"table", kHelp, kOptions, table};

}  // namespace fenmarq
