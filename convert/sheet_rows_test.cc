#include "convert/sheet_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "cli/sample_day.h"
#include "formats/csv_sheet.h"
#include "tests/support/scoped_temp_dir.h"
#include "tests/support/sheet_of.h"

namespace fenmarq {
namespace {

using testing::firstDifference;
using testing::sheetOf;
using testing::StringSink;

// Rows per chunk: one (thousands of chunks), a few, a full default buffer,
// and none (a buffer narrower than a row: one chunk for the whole sheet).
constexpr std::size_t kRowsPerChunk[] = {1, 7, 0, static_cast<std::size_t>(-1)};

std::size_t bufferSizeFor(std::size_t rows, std::size_t columns) {
  if (rows == 0) return CsvSheet::kDefaultBufferSize;
  if (rows == static_cast<std::size_t>(-1)) return CsvSheet::kMinBufferSize;
  return rows * CsvSheet::valueRowRoom(columns);
}

// However many threads take part and however small the chunks, the file
// receives the bytes of the sheet written in one piece, for whole images and
// for images cut short (read as zero-padded).
TEST(SheetRowsTest, ChunksReachTheFileInOrderWhoeverFormatsThem) {
  for (const SampleFile& sample : sampleFiles()) {
    const FormatConverter converter(sample.format);
    const std::vector<std::uint8_t> day = makeSampleDay(sample);
    for (const std::size_t length : {day.size(), day.size() / 2 + 3}) {
      const std::span<const std::uint8_t> image(day.data(), length);
      const std::string expected = sheetOf(converter, image, sample.fileName);
      for (const std::size_t rows : kRowsPerChunk) {
        const std::size_t bufferSize = bufferSizeFor(rows, converter.columnCount());
        for (const int threads : {1, 2}) {
          StringSink sink;
          SheetRows sheet(converter, image, sample.fileName, sink, bufferSize);
          std::vector<std::vector<char>> buffers(threads, std::vector<char>(bufferSize));
          {
            std::vector<std::jthread> workers;
            for (int t = 1; t < threads; ++t)
              workers.emplace_back([&, t] { sheet.work(buffers[t]); });
            sheet.work(buffers[0]);
          }
          EXPECT_EQ(firstDifference(expected, sink.text), "")
              << sample.fileName << " length " << length << " rows " << rows << " threads "
              << threads;
        }
      }
    }
  }
}

}  // namespace
}  // namespace fenmarq
