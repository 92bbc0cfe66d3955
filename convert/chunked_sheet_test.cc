#include "convert/chunked_sheet.h"

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

// Slot sizes: one row (thousands of chunks), a few rows, the default, and
// narrower than a row (all rows in one chunk).
std::vector<std::size_t> slotSizes(std::size_t columns) {
  const std::size_t row = CsvSheet::valueRowRoom(columns);
  return {row, 7 * row, CsvSheet::kDefaultBufferSize, CsvSheet::kMinBufferSize};
}

// However the chunks are shared between the writing thread and formatting
// threads, and however small they are, the file receives the bytes of the
// sheet written in one piece, for whole images and for images cut short.
TEST(ChunkedSheetTest, ChunksReachTheFileInOrderWhoeverFormatsThem) {
  for (const SampleFile& sample : sampleFiles()) {
    const FormatConverter converter(sample.format);
    const std::vector<std::uint8_t> day = makeSampleDay(sample);
    for (const std::size_t length : {day.size(), day.size() / 2 + 3}) {
      const std::span<const std::uint8_t> image(day.data(), length);
      const std::string expected = sheetOf(converter, image, sample.fileName);
      for (const std::size_t slotSize : slotSizes(converter.columnCount())) {
        for (const int formatters : {0, 1}) {
          std::vector<char> slots(ChunkedSheet::kSlots * slotSize);
          StringSink sink;
          ChunkedSheet sheet(converter, image, sample.fileName, slots);
          {
            std::vector<std::jthread> threads;
            for (int t = 0; t < formatters; ++t) threads.emplace_back([&] { sheet.format(); });
            for (int i = 0; i < 20; ++i) sheet.writeReady(sink);
            sheet.finish(sink);
          }
          EXPECT_EQ(firstDifference(expected, sink.text), "")
              << sample.fileName << " length " << length << " slot " << slotSize << " formatters "
              << formatters;
        }
      }
    }
  }
}

// A thread formatting ahead of the writer is let go when the writer leaves
// early, even while it waits for a slot.
TEST(ChunkedSheetTest, AbandonedSheetLetsItsFormatterGo) {
  const SampleFile& sample = sampleFiles()[0];
  const FormatConverter converter(sample.format);
  const std::vector<std::uint8_t> day = makeSampleDay(sample);
  const std::size_t slotSize = CsvSheet::valueRowRoom(converter.columnCount());
  std::vector<char> slots(ChunkedSheet::kSlots * slotSize);
  StringSink sink;
  ChunkedSheet sheet(converter, day, sample.fileName, slots);
  std::jthread formatter([&] { sheet.format(); });
  sheet.writeReady(sink);
  sheet.abandon();
  formatter.join();  // returns: nothing waits for a slot any more
  EXPECT_LT(sink.text.size(), sheetOf(converter, day, sample.fileName).size());
}

}  // namespace
}  // namespace fenmarq
