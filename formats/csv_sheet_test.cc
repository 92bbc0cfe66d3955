#include "formats/csv_sheet.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "formats/byte_readers.h"
#include "tests/support/scoped_temp_dir.h"
#include "tests/support/sheet_of.h"

namespace fenmarq {
namespace {

using testing::firstDifference;
using testing::StringSink;

std::vector<std::int32_t> sampleValues() {
  std::vector<std::int32_t> values = {
      0,   1,     -1,    9,     10,        99,        100,           -128,         127,
      255, 65535, 65536, -9999, INT32_MIN, INT32_MAX, INT32_MIN + 1, INT32_MAX - 1};
  for (std::int64_t p = 10; p <= INT32_MAX; p *= 10) {
    for (std::int64_t v : {p - 1, p, p + 1, -p + 1, -p, -p - 1}) {
      values.push_back(static_cast<std::int32_t>(v));
    }
  }
  std::uint32_t x = 12345;
  for (int i = 0; i < 2000; ++i)
    values.push_back(static_cast<std::int32_t>(x = x * 1664525u + 1013904223u));
  return values;
}

// The buffer sizes: the smallest one, one that splits cells at odd places,
// and the default one.
class CsvSheetTest : public ::testing::TestWithParam<std::size_t> {
 protected:
  std::string write(const std::function<void(CsvSheet&)>& writeAll) {
    StringSink sink;
    {
      std::vector<char> buffer(GetParam());
      CsvSheet sheet(sink, buffer);
      writeAll(sheet);
    }  // the rest is passed on when the sheet goes
    return sink.text;
  }
};

// Values go in cell by cell, or a whole row at a time straight into the
// buffer, however small the buffer is.
TEST_P(CsvSheetTest, ValuesAreDecimalAsPrintfHasThem) {
  const std::vector<std::int32_t> values = sampleValues();
  constexpr std::size_t kRow = 150;
  const std::size_t count = values.size() / kRow * kRow;
  std::string expected;
  char text[16];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(text, sizeof text, "%d,", values[i]);
    expected +=
        (i % kRow == 0 ? "x," : "") + std::string(text) + (i % kRow == kRow - 1 ? "\n" : "");
  }
  for (const bool wholeRows : {false, true}) {
    const std::string actual = write([&](CsvSheet& sheet) {
      for (std::size_t at = 0; at < count; at += kRow) {
        sheet.writeCell("x");
        if (!wholeRows) {
          for (std::size_t i = at; i < at + kRow; ++i) sheet.writeValue(values[i]);
          sheet.endRow();
          continue;
        }
        char* out = sheet.beginValueRow(kRow);
        for (std::size_t i = at; i < at + kRow; ++i) out = CsvSheet::appendValue(values[i], out);
        *out++ = '\n';
        sheet.endValueRow(out);
      }
    });
    EXPECT_EQ(firstDifference(expected, actual), "") << (wholeRows ? "rows" : "cells");
  }
}

TEST_P(CsvSheetTest, CellsLabelsTextsAndRows) {
  const std::string big(300'000, 'x');
  const std::string actual = write([&](CsvSheet& sheet) {
    sheet.writeCell("\x8B\x40\x8A\xD6");
    sheet.writeCell("");
    sheet.writeEmptyCells(3);
    sheet.writeGroupLabel("\x89\x4A", 2);
    sheet.writeText("t");
    sheet.writeValue(-5);
    sheet.endRow();
    sheet.writeNote("");
    sheet.writeNote("note");
    sheet.writeEmptyCells(1000);
    sheet.writeText(big);
    sheet.writeValue(INT32_MIN);
    sheet.writeGroupLabel(std::string(70, 'g'), 70);
    sheet.endRow();
  });
  const std::string expected = "\x8B\x40\x8A\xD6,,,,,\x89\x4A,,t-5,\n\nnote\n" +
                               std::string(1000, ',') + big + "-2147483648," +
                               std::string(70, 'g') + std::string(70, ',') + "\n";
  EXPECT_EQ(firstDifference(expected, actual), "");
}

INSTANTIATE_TEST_SUITE_P(Buffers, CsvSheetTest,
                         ::testing::Values(CsvSheet::kMinBufferSize, 100,
                                           CsvSheet::kDefaultBufferSize));

TEST(ByteReadersTest, LittleEndianAndTwosComplement) {
  const std::uint8_t bytes[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x78, 0x56,
                                0x34, 0x12, 0x00, 0x00, 0x00, 0x80, 0x7F};
  EXPECT_EQ(readU16(bytes), 65535);
  EXPECT_EQ(readU16(bytes + 4), 0x7880);
  EXPECT_EQ(readS32(bytes), -1);
  EXPECT_EQ(readS32(bytes + 5), 0x12345678);
  EXPECT_EQ(readS32(bytes + 9), INT32_MIN);
  EXPECT_EQ(readS32(bytes + 10), 0x7F800000);
  EXPECT_EQ(readS8(bytes + 4), -128);
  EXPECT_EQ(readS8(bytes), -1);
  EXPECT_EQ(readS8(bytes + 13), 127);
}

}  // namespace
}  // namespace fenmarq
