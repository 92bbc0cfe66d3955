// fenmarq-cli samples: one sample day file per record format.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/sample_day.h"
#include "cli/written_files.h"
#include "platform/file_system.h"

namespace fenmarq {
namespace {

constexpr CommandHelp kHelp = {
    .synopsis = {"  fenmarq-cli samples [--date YYYYMMDD] DIR\n",
                 "  fenmarq-cli samples [--date YYYYMMDD] DIR\n"},
    .description = {R"(samples     Writes one sample day file per record format into DIR and creates
            its HEXFiles, CSVFiles and CHKFiles folders. The days are
            2016-04-12, and 2012-06-01 for the sfc 10sec layout of
            2008-07-25 to 2015-03-02.
  --date YYYYMMDD, --date=YYYYMMDD
               write the day YYYYMMDD instead, of the formats that cover
               it (amd 1min from 2008-11-18, amd and sfc 10sec from
               2015-03-03, the earlier sfc 10sec layout 2008-07-25 to
               2015-03-02, sfc 1min from 2008-06-25); a date that is not
               a calendar date, or that no format covers, is a usage error
)",
                    R"(samples     記録形式ごとに一日分の試しの観測データを DIR に書き、その
            HEXFiles、CSVFiles、CHKFiles フォルダを作ります。日付は
            2016-04-12 で、2008-07-25 から 2015-03-02 までの sfc 10秒値の
            形式だけ 2012-06-01 です。
  --date YYYYMMDD, --date=YYYYMMDD
               代わりに YYYYMMDD の日を、その日を含む形式について書く
               （amd 1分値は 2008-11-18 から、amd と sfc の 10秒値は
               2015-03-03 から、以前の sfc 10秒値の形式は 2008-07-25 から
               2015-03-02 まで、sfc 1分値は 2008-06-25 から）。暦にない日付や、
               どの形式も含まない日付は使い方の誤り
)"},
    .exitStatus = {R"(Exit status: 0 done; 1 a sample file or output folder could not be
written; 2 usage error.
)",
                   R"(終了ステータス: 0 終了。1 試しのファイルか出力フォルダを書けなかった。
2 使い方の誤り。
)"},
};

constexpr Text kNeedsDirText = {"samples needs exactly one DIR",
                                "samples には DIR を一つだけ指定します"};
constexpr Text kNotDateText = {"--date {} is not a calendar date YYYYMMDD",
                               "--date {} は暦にある日付（YYYYMMDD）ではありません"};
constexpr Text kNoFormatText = {"no record format covers --date {}",
                                "--date {} の日を含む記録形式はありません"};
constexpr Text kNotWrittenText = {"cannot write {}", "{} に書き込めません"};

enum SamplesOption { kDate };

constexpr OptionRule kOptions[] = {
    {kDate,
     "--date",
     '\0',
     {"--date needs a date YYYYMMDD", "--date には日付 YYYYMMDD が要ります"}},
};

struct SamplesSettings {
  std::optional<std::string> date, folder;
};

int settingsOf(const std::vector<ArgumentItem>& items, SamplesSettings& settings) {
  for (const ArgumentItem& item : items) {
    if (item.kind == ArgumentItem::kError) return usageError(item.text);
    if (item.kind == ArgumentItem::kOption) {
      settings.date = item.text;
    } else if (settings.folder) {
      return usageError(kNeedsDirText);
    } else {
      settings.folder = item.text;
    }
  }
  if (!settings.folder) return usageError(kNeedsDirText);
  if (settings.date && !isCalendarDate(*settings.date)) {
    return usageError(fill(kNotDateText, {*settings.date}));
  }
  return kExitSuccess;
}

using NamedSample = std::pair<const SampleFile*, std::string>;

// Without a date each sample keeps its own date; with one, only the formats
// whose rules cover that date are written.
std::vector<NamedSample> samplesOf(const std::optional<std::string>& date) {
  std::vector<NamedSample> named;
  for (const SampleFile& sample : sampleFiles()) {
    if (!date) {
      named.emplace_back(&sample, std::string(sample.fileName));
    } else if (sampleCoversDate(sample, *date)) {
      named.emplace_back(&sample, sampleFileName(sample, *date));
    }
  }
  return named;
}

int samples(const std::vector<ArgumentItem>& items) {
  SamplesSettings settings;
  if (const int status = settingsOf(items, settings); status != kExitSuccess) return status;
  const std::vector<NamedSample> named = samplesOf(settings.date);
  if (named.empty()) return usageError(fill(kNoFormatText, {*settings.date}));
  const std::filesystem::path directory = pathFromUtf8(*settings.folder);
  if (!makeOutputFolders(directory)) return kExitBatchEnded;
  for (const auto& [sample, name] : named) {
    const std::vector<std::uint8_t> bytes = makeSampleDay(*sample, name);
    const std::string path = utf8FromPath(directory / name);
    if (!writeWhole(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()})) {
      return failed(fill(kNotWrittenText, {path}), kExitBatchEnded);
    }
    print(StandardStream::kOutput, path + "\n");
  }
  return kExitSuccess;
}

}  // namespace

const Command kSamplesCommand = {"samples", kHelp, kOptions, samples};

}  // namespace fenmarq
