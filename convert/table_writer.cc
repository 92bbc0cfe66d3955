#include "convert/table_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>

#include "convert/conversion_rule.h"
#include "convert/file.h"
#include "formats/csv_sheet.h"
#include "formats/data_table.h"
#include "formats/format_converter.h"
#include "platform/paths.h"

namespace fenmarq {

const RecordFormat* formatOfName(std::string_view name) {
  const std::optional<ConversionRule> rule =
      selectConversionRule(parseObservationFileName(name, directorySeparators()));
  return rule ? &rule->converter->format() : nullptr;
}

std::string checkTableSources(const std::vector<std::string>& paths, TableSources& sources) {
  sources = {};
  for (const std::string& path : paths) {
    const RecordFormat* format = formatOfName(path);
    if (format == nullptr) return path + " is not a conversion target";
    if (sources.format == nullptr) sources.format = format;
    if (format != sources.format) {
      return path + " selects another record format than " + paths.front();
    }
    File input;
    if (!input.open(path, OpenMode::kRead)) return "cannot open " + path;
    sources.identities.push_back(input.identity());
  }
  return {};
}

std::ptrdiff_t readDayFile(const std::string& path, std::span<std::uint8_t> image, int* error) {
  File input;
  if (!input.open(path, OpenMode::kRead)) {
    if (error) *error = input.error();
    return -1;
  }
  errno = 0;
  const std::size_t got = input.read(image.data(), image.size());
  if (got < image.size()) {
    // A short read is the end of the file unless the stream failed, and
    // then errno holds the reason of the failed read.
    const int readError = errno != 0 ? errno : EIO;
    if (!input.close()) {
      if (error) *error = readError;
      return -1;
    }
    std::fill(image.begin() + static_cast<std::ptrdiff_t>(got), image.end(), 0);
  }
  return static_cast<std::ptrdiff_t>(got);
}

bool writeTable(const std::vector<std::string>& paths, const DataTable& table, bool asciiNames,
                ByteSink& out, const std::function<void(std::string_view)>& warn,
                std::string& error) {
  const std::size_t size = layoutSize(table.format());
  // One block for every file: bytes beyond the layout are never read, so the
  // memory needed does not grow with the files' sizes or number.
  std::vector<std::uint8_t> image(size);
  CsvSheet sheet(out);
  table.writeHeader(asciiNames, sheet);
  for (const std::string& path : paths) {
    const std::ptrdiff_t got = readDayFile(path, image);
    if (got < 0) {
      error = "cannot read " + path;
      return false;
    }
    if (static_cast<std::size_t>(got) < size) {
      warn(path + " holds " + std::to_string(got) + " bytes, fewer than the " +
           std::to_string(size) + " of its layout; the missing bytes read as zeros");
    }
    table.writeRows(image, parseObservationFileName(path, directorySeparators()).fileName, sheet);
  }
  return true;
}

}  // namespace fenmarq
