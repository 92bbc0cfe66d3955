// fenmarq-cli: the batch conversion for scripts and large batches.
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "cli/path_list.h"
#include "cli/sample_day.h"
#include "convert/batch_converter.h"
#include "convert/file.h"
#include "convert/output_folders.h"
#include "convert/replacement_file.h"
#include "convert/table_writer.h"
#include "formats/data_table.h"
#include "formats/table_schema.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/program_entry.h"
#include "platform/standard_streams.h"
#include "platform/temporary_file.h"

namespace fenmarq {
namespace {

enum ExitStatus {
  kExitSuccess = 0,
  kExitBatchEnded = 1,  // a failure ended the batch (or output could not be written)
  kExitUsage = 2,
  kExitDataProblems = 3,  // finished, but a close or write failed or a CHK check failed
};

constexpr std::string_view kUsage = R"(Usage:
  fenmarq-cli convert [--make-dirs] [--jobs N] [--files-from LIST] FILE...
  fenmarq-cli table [--raw] [--ascii-names] [-o OUT] [--schema FILE] FILE...
  fenmarq-cli table [OPTION...] --files-from LIST [FILE...]
  fenmarq-cli table [--raw] --columns FORMAT
  fenmarq-cli samples [--date YYYYMMDD] DIR
  fenmarq-cli [COMMAND] --help | --version

Converts JMA observation files (amd/sfc, 1min/10sec) into CSV sheets (code
page 932) with a hexadecimal rendering and a verified copy of it.

convert     Converts FILE... in order, writing ./CSVFiles/CSV_<name>.CSV,
            ./HEXFiles/HEX_<name>.txt and ./CHKFiles/CHK_<name>.txt under the
            current directory. The log goes to standard output (UTF-8),
            message texts to standard error. On Windows a FILE with * or ?
            in its last part stands for the files it matches, in name
            order; one that matches nothing stays as typed.
  --make-dirs  create HEXFiles, CSVFiles and CHKFiles when missing
  --files-from LIST, --files-from=LIST
               convert the files named in LIST too, after FILE...: one
               path a line, UTF-8 or UTF-16 with a byte-order mark;
               LIST - is standard input; may be given more than once
  --jobs N, --jobs=N, -j N, -jN
               convert N files at a time (default: one per processor);
               --jobs 1 converts them one after the other on one thread.
               The log, the exit status and every file are the same
               either way: no file after one that ends the batch touches
               an output.
table       Writes one table of every record of every FILE, in order, to OUT
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
  --columns FORMAT
               describes every column of FORMAT (a file name, or its
               kind_interval_YYYYMMDD part) as a CSV table: names, type,
               unit, sheet column, encoding, offset, scale, note
samples     Writes one sample day file per record format into DIR and creates
            its HEXFiles, CSVFiles and CHKFiles folders. The days are
            2016-04-12, and 2012-06-01 for the sfc 10sec layout of
            2008-07-25 to 2015-03-02.
  --date YYYYMMDD, --date=YYYYMMDD
               write the day YYYYMMDD instead, of the formats that cover
               it (amd 1min from 2008-11-18, amd and sfc 10sec from
               2015-03-03, the earlier sfc 10sec layout 2008-07-25 to
               2015-03-02, sfc 1min from 2008-06-25); a date that is not
               a calendar date, or that no format covers, is a usage error

Exit status: 0 done; 1 a failure ended the batch (an input or output that
cannot be opened, memory, a start folder that cannot be entered, no CP932
codec) or the table could not be written; 2 usage error (a LIST line that
is not text among them), or table inputs that are no conversion target,
cannot be opened or differ in format; 3 done, but a file could not be
written or closed completely, a CHK comparison failed, or an input held
more bytes than its reported size.
)";

// One command's part of the usage: its synopsis lines, its paragraph with
// its options, and the exit statuses. Sections start at the line's first
// column with the command's name; their other lines are indented.
std::string commandUsage(std::string_view command) {
  const std::string synopsisStart = "  fenmarq-cli " + std::string(command) + " ";
  std::string synopsis = "Usage:\n", section, exitStatus;
  bool inSection = false;
  for (std::string_view rest = kUsage; !rest.empty();) {
    const std::string_view line = rest.substr(0, rest.find('\n') + 1);
    rest.remove_prefix(line.size());
    if (!exitStatus.empty() || line.starts_with("Exit status:")) {
      exitStatus.append(line);
    } else if (line.starts_with(synopsisStart)) {
      synopsis.append(line);
    } else if (line == "\n" || line[0] != ' ') {
      inSection = line.starts_with(command) && line.substr(command.size()).starts_with(' ');
    }
    if (inSection) section.append(line);
  }
  return synopsis + "\n" + section + "\n" + exitStatus;
}

std::string versionText() {
  return "fenmarq-cli " FENMARQ_VERSION
         "\n"
         "Copyright (c) 2026 The Fenmarq developers; MIT License\n"
         "CP932 codec: " +
         std::string(Cp932Encoder::codecName()) + "\n";
}

void print(StandardStream stream, std::string_view text) { writeStandard(stream, text); }

// Passes on a command's product on standard output; false when it did not
// all arrive there, or standard output was closed, so that nothing did.
bool productWritten() {
  return !startedClosed(StandardStream::kOutput) && flushStandard(StandardStream::kOutput);
}

// Prints `text` as a command's whole product.
int printProduct(std::string_view text) {
  print(StandardStream::kOutput, text);
  if (productWritten()) return kExitSuccess;
  print(StandardStream::kError, "fenmarq-cli: cannot write standard output\n");
  return kExitBatchEnded;
}

int usageError(std::string_view message) {
  print(StandardStream::kError, "fenmarq-cli: ");
  print(StandardStream::kError, message);
  print(StandardStream::kError, "\nTry 'fenmarq-cli --help'.\n");
  return kExitUsage;
}

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
    print(StandardStream::kError, text);
    print(StandardStream::kError, "\n");
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

bool makeOutputFolders(const std::filesystem::path& directory) {
  for (const std::string_view folder : kOutputFolders) {
    std::error_code error;
    std::filesystem::create_directories(directory / folder, error);
    if (error) {
      print(StandardStream::kError, "fenmarq-cli: cannot create " +
                                        utf8FromPath(directory / folder) + ": " + error.message() +
                                        "\n");
      return false;
    }
  }
  return true;
}

int failed(std::string_view message, int status = kExitUsage) {
  print(StandardStream::kError, "fenmarq-cli: " + std::string(message) + "\n");
  return status;
}

// Appends the paths that the list `list` names to `paths`: kExitSuccess, or
// the exit status of a list that cannot be read or is not text.
int appendListed(const std::string& list, std::vector<std::string>& paths) {
  const std::string name = list == "-" ? "(standard input)" : list;
  std::size_t line = 0;
  std::string err;
  if (readPathList(list, paths, &line, &err)) return kExitSuccess;
  if (line == 0) return failed(name + ": cannot read: " + err, kExitBatchEnded);
  return failed(name + ":" + std::to_string(line) + ": not valid text");
}

// Appends the files that the argument `arg` names: on Windows its wildcards
// are expanded here, as the shell does elsewhere.
void appendFileArgument(const std::string& arg, std::vector<std::string>& files) {
  const std::vector<std::string> named = expandFileArgument(arg);
  files.insert(files.end(), named.begin(), named.end());
}

int convert(const std::vector<std::string>& args) {
  bool makeDirs = false;
  unsigned jobs = 0;  // one worker per processor
  std::vector<std::string> targets, lists;
  bool optionsDone = false;
  bool expectJobs = false, expectList = false;
  for (const std::string& arg : args) {
    if (expectList) {
      lists.push_back(arg);
      expectList = false;
    } else if (!optionsDone && arg == "--files-from") {
      expectList = true;
    } else if (!optionsDone && arg.starts_with("--files-from=")) {
      lists.push_back(arg.substr(13));
    } else if (expectJobs) {
      if (!parseJobs(arg, jobs)) return usageError("--jobs needs a number from 1 to 256");
      expectJobs = false;
    } else if (!optionsDone && arg == "--make-dirs") {
      makeDirs = true;
    } else if (!optionsDone && (arg == "--jobs" || arg == "-j")) {
      expectJobs = true;
    } else if (!optionsDone && (arg.starts_with("--jobs=") || arg.starts_with("-j"))) {
      const std::string_view number =
          std::string_view(arg).substr(arg.starts_with("--jobs=") ? 7 : 2);
      if (!parseJobs(number, jobs)) return usageError("--jobs needs a number from 1 to 256");
    } else if (!optionsDone && arg == "--") {
      optionsDone = true;
    } else if (!optionsDone && arg.size() > 1 && arg[0] == '-') {
      return usageError("unknown option '" + arg + "'");
    } else {
      appendFileArgument(arg, targets);
    }
  }
  if (expectJobs) return usageError("--jobs needs a number from 1 to 256");
  if (expectList) return usageError("--files-from needs a LIST");
  for (const std::string& list : lists) {
    if (const int status = appendListed(list, targets); status != kExitSuccess) return status;
  }
  if (targets.empty() && lists.empty()) return usageError("convert needs at least one FILE");

  std::error_code error;
  const std::filesystem::path start = std::filesystem::current_path(error);
  if (error) {
    print(StandardStream::kError,
          "fenmarq-cli: cannot read the current directory: " + error.message() + "\n");
    return kExitBatchEnded;
  }
  if (makeDirs && !makeOutputFolders(start)) return kExitBatchEnded;

  StdoutLog log;
  StderrView view;
  const BatchResult result = BatchConverter({.workers = jobs, .sheetThreads = jobs != 1})
                                 .run(targets, utf8FromPath(start), log, view);
  if (!result.failure.empty()) {
    print(StandardStream::kError, "fenmarq-cli: " + result.failure + "\n");
  }
  if (result.outputNotOpened) {
    const std::vector<std::string_view> missing = missingOutputFolders(utf8FromPath(start));
    if (!missing.empty()) {
      std::string hint = "fenmarq-cli: missing output folders in " + utf8FromPath(start) + ":";
      for (const std::string_view folder : missing) hint.append(" ").append(folder);
      print(StandardStream::kError, hint + "; create them there, or use --make-dirs\n");
    }
  }
  if (!flushStandard(StandardStream::kOutput)) return kExitBatchEnded;
  if (!result.finished) return kExitBatchEnded;
  return result.problemsReported ? kExitDataProblems : kExitSuccess;
}

// The table goes to standard output byte for byte.
class StdoutSink final : public ByteSink {
 public:
  void write(std::string_view bytes) override { print(StandardStream::kOutput, bytes); }
};

// The description of every column of the format that `name` selects.
int listColumns(std::string_view name, bool raw) {
  const RecordFormat* format = formatOfName(name);
  if (format == nullptr) return failed(std::string(name) + " is not a conversion target");
  return printProduct(columnDescriptionCsv(DataTable(*format, raw)));
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

// Writes `text` to `path`, replacing it only once all is written.
bool writeWhole(const std::string& path, std::string_view text) {
  ReplacementFile out(path);
  if (!out.open()) return false;
  out.file().write(text);
  return out.commit();
}

int table(const std::vector<std::string>& args) {
  bool asciiNames = false, raw = false;
  std::optional<std::string> output, columnsOf, schema;
  std::vector<std::string> files, lists;
  bool optionsDone = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool last = i + 1 == args.size();
    if (optionsDone || arg == "-" || arg.empty() || arg[0] != '-') {
      appendFileArgument(arg, files);
    } else if (arg == "--files-from") {
      if (last) return usageError("--files-from needs a LIST");
      lists.push_back(args[++i]);
    } else if (arg.starts_with("--files-from=")) {
      lists.push_back(arg.substr(13));
    } else if (arg == "--") {
      optionsDone = true;
    } else if (arg == "--ascii-names") {
      asciiNames = true;
    } else if (arg == "--raw") {
      raw = true;
    } else if (arg == "--schema") {
      if (last) return usageError("--schema needs a file name");
      schema = args[++i];
    } else if (arg.starts_with("--schema=")) {
      schema = arg.substr(9);
    } else if (arg == "-o" || arg == "--output") {
      if (last) return usageError(arg + " needs a file name");
      output = args[++i];
    } else if (arg.starts_with("--output=")) {
      output = arg.substr(9);
    } else if (arg == "--columns") {
      if (last) return usageError("--columns needs a FORMAT");
      columnsOf = args[++i];
    } else {
      return usageError("unknown option '" + arg + "'");
    }
  }
  if (columnsOf) {
    if (!files.empty() || !lists.empty() || output || asciiNames || schema) {
      return usageError("--columns takes only --raw");
    }
    return listColumns(*columnsOf, raw);
  }
  for (const std::string& list : lists) {
    if (const int status = appendListed(list, files); status != kExitSuccess) return status;
  }
  if (files.empty()) return usageError("table needs at least one FILE");

  TableSources sources;
  if (const std::string refusal = checkTableSources(files, sources); !refusal.empty()) {
    return failed(refusal);
  }
  const DataTable dataTable(*sources.format, raw);
  const bool toFile = output && *output != "-";
  const bool schemaToStdout = schema && *schema == "-";
  if (schemaToStdout && (!toFile || sameFile(*output, "/dev/stdout"))) {
    return usageError("--schema - needs -o FILE");
  }
  if (toFile && isOneOf(*output, sources)) return failed(*output + " is one of the FILEs");
  if (schema && !schemaToStdout && isOneOf(*schema, sources)) {
    return failed(*schema + " is one of the FILEs");
  }
  if (toFile && schema && !schemaToStdout && sameFile(*output, *schema)) {
    return usageError("the table and its schema cannot both go to " + *schema);
  }
  const auto warn = [](std::string_view text) {
    print(StandardStream::kError, "fenmarq-cli: warning: " + std::string(text) + "\n");
  };
  const std::string schemaText = tableSchemaJson(dataTable, asciiNames);
  std::string error;
  if (!toFile) {
    StdoutSink sink;
    const bool written = writeTable(files, dataTable, asciiNames, sink, warn, error);
    if (!productWritten()) error = "cannot write standard output";
    if (!written || !error.empty()) return failed(error, kExitBatchEnded);
    if (schema && !writeWhole(*schema, schemaText)) {
      return failed("cannot write " + *schema, kExitBatchEnded);
    }
    return kExitSuccess;
  }

  // The table and its schema are both written whole before either is put in
  // place, the schema first: a failed run leaves both as they were. An
  // output that is no regular file is written through, and gets a schema
  // only where --schema asks for one.
  ReplacementFile out(*output);
  if (!out.open()) return failed("cannot open " + *output, kExitBatchEnded);
  // Runs that write into one folder replace their pairs in turn, so that no
  // table ends up beside another run's schema.
  FolderLock pairLock;
  if (!out.writesThrough() && !pairLock.lock(out.folder())) {
    return failed("cannot lock the folder of " + *output, kExitBatchEnded);
  }
  if (!schema && !out.writesThrough()) schema = *output + ".schema.json";
  std::optional<ReplacementFile> schemaOut;
  if (schema && !schemaToStdout) {
    schemaOut.emplace(*schema);
    if (!schemaOut->open()) return failed("cannot open " + *schema, kExitBatchEnded);
    schemaOut->file().write(schemaText);
  }
  if (!writeTable(files, dataTable, asciiNames, out.file(), warn, error)) {
    return failed(error, kExitBatchEnded);
  }
  // Every byte of the table is on the disk before the schema is put in place.
  if (!out.file().flush()) return failed("cannot write " + *output, kExitBatchEnded);
  if (schemaOut && !schemaOut->commit()) return failed("cannot write " + *schema, kExitBatchEnded);
  if (schemaToStdout && printProduct(schemaText) != kExitSuccess) return kExitBatchEnded;
  if (!out.commit()) return failed("cannot write " + *output, kExitBatchEnded);
  return kExitSuccess;
}

int samples(const std::vector<std::string>& args) {
  std::optional<std::string> date, folder;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--date") {
      if (i + 1 == args.size()) return usageError("--date needs a date YYYYMMDD");
      date = args[++i];
    } else if (arg.starts_with("--date=")) {
      date = arg.substr(7);
    } else if (arg.starts_with("-") && arg != "-") {
      return usageError("unknown option '" + arg + "'");
    } else if (folder) {
      return usageError("samples needs exactly one DIR");
    } else {
      folder = arg;
    }
  }
  if (!folder) return usageError("samples needs exactly one DIR");
  if (date && !isCalendarDate(*date)) {
    return usageError("--date " + *date + " is not a calendar date YYYYMMDD");
  }
  // Without --date each sample keeps its own date; with one, only the
  // formats whose rules cover that date are written.
  std::vector<std::pair<const SampleFile*, std::string>> named;
  for (const SampleFile& sample : sampleFiles()) {
    if (!date) {
      named.emplace_back(&sample, std::string(sample.fileName));
    } else if (sampleCoversDate(sample, *date)) {
      named.emplace_back(&sample, sampleFileName(sample, *date));
    }
  }
  if (named.empty()) return usageError("no record format covers --date " + *date);
  const std::filesystem::path directory = pathFromUtf8(*folder);
  if (!makeOutputFolders(directory)) return kExitBatchEnded;
  for (const auto& [sample, name] : named) {
    const std::vector<std::uint8_t> bytes = makeSampleDay(*sample, name);
    const std::string path = utf8FromPath(directory / name);
    if (!writeWhole(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()})) {
      return failed("cannot write " + path, kExitBatchEnded);
    }
    print(StandardStream::kOutput, path + "\n");
  }
  return kExitSuccess;
}

}  // namespace

int programMain(const std::vector<std::string>& argv) try {
  if (argv.size() < 2) return usageError("missing command");
  const std::string_view command = argv[1];
  const std::vector<std::string> args(argv.begin() + 2, argv.end());
  const bool commandHelp = args.size() == 1 && (args[0] == "--help" || args[0] == "-h");
  if (command == "--help" || command == "-h") return printProduct(kUsage);
  if ((command == "convert" || command == "table" || command == "samples") && commandHelp) {
    return printProduct(commandUsage(command));
  }
  if (command == "--version") return printProduct(versionText());
  if (command == "convert") return convert(args);
  if (command == "table") return table(args);
  if (command == "samples") return samples(args);
  return usageError("unknown command '" + std::string(command) + "'");
} catch (const std::bad_alloc&) {
  print(StandardStream::kError, "fenmarq-cli: out of memory\n");
  return kExitBatchEnded;
}

}  // namespace fenmarq
