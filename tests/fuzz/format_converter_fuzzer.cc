// Every record format on images of every length from 0 to a little past its
// layout. The image is an exactly sized heap block, so a read past its end is
// caught by AddressSanitizer even where the driver's larger image would hide
// it. The sheet must keep the shape of its format whatever the bytes and the
// length: header rows, one row per record with one value per column, the
// notes; and a short image must read as if padded with zeros, a long one as
// if cut at the layout's end.
//
// Input: byte 0 picks the format, byte 1 how the length is chosen, bytes 2-5
// the length or an offset from an anchor, the rest is repeated as content.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "convert/conversion_rule.h"
#include "formats/byte_sink.h"
#include "formats/csv_sheet.h"
#include "formats/format_converter.h"
#include "platform/cp932.h"
#include "tests/fuzz/fuzz_check.h"

namespace fenmarq {
namespace {

// Lengths up to this many bytes past the layout are tried.
constexpr std::size_t kSlack = 16;

constexpr std::string_view kFileName = "fuzz_20160412.00000";

// Gathers the whole sheet into a string that the caller keeps from input to
// input (a fresh block of megabytes per input would dominate the run time).
class StringSink final : public ByteSink {
 public:
  explicit StringSink(std::string& text) : text_(text) { text_.clear(); }
  void write(std::string_view bytes) override { text_.append(bytes); }

 private:
  std::string& text_;
};

// The number of commas in each row of `sheet`; a last row without its row
// end is counted as a row too.
FENMARQ_NO_COVERAGE std::vector<std::size_t> commasPerRow(std::string_view sheet) {
  std::vector<std::size_t> rows = {0};
  for (const char c : sheet) {
    if (c == ',') ++rows.back();
    if (c == '\n') rows.push_back(0);
  }
  if (sheet.empty() || sheet.ends_with('\n')) rows.pop_back();
  return rows;
}

std::size_t commasIn(std::string_view text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), ','));
}

void writeSheetInto(std::string& text, const FormatConverter& converter,
                    std::span<const std::uint8_t> image) {
  StringSink sink(text);
  CsvSheet sheet(sink);
  converter.writeSheet(image, kFileName, *Cp932Encoder::open(), sheet);
}

// The shape of a sheet follows from its format table alone.
void checkShape(const RecordFormat& format, std::string_view sheet) {
  const std::size_t columns = columnCount(format);
  const std::vector<std::size_t> rows = commasPerRow(sheet);
  FUZZ_CHECK(sheet.ends_with('\n'));
  FUZZ_CHECK(sheet.find('\r') == std::string_view::npos);
  FUZZ_CHECK(rows.size() == 4 + format.recordCount + format.notes.size());

  FUZZ_CHECK(rows[0] == 1 + commasIn(kFileName));
  std::size_t groupCommas = 0;
  for (const Group& group : format.groups) groupCommas += group.span + commasIn(group.label);
  FUZZ_CHECK(rows[1] == groupCommas);
  std::size_t labelCommas = columns, unitCommas = columns;
  for (const auto fields : {format.stationBlock, format.fields}) {
    for (const Field& field : fields) {
      labelCommas += commasIn(field.label);
      unitCommas += commasIn(field.unit);
    }
  }
  FUZZ_CHECK(rows[2] == labelCommas);
  FUZZ_CHECK(rows[3] == unitCommas);
  for (std::size_t k = 0; k < format.recordCount; ++k) FUZZ_CHECK(rows[4 + k] == columns);
  for (std::size_t n = 0; n < format.notes.size(); ++n) {
    FUZZ_CHECK(rows[4 + format.recordCount + n] == commasIn(format.notes[n]));
  }
}

std::uint32_t readBits(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

}  // namespace
}  // namespace fenmarq

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fenmarq;
  if (size < 6) return 0;
  const FormatConverter& converter =
      *conversionRules()[data[0] % conversionRules().size()].converter;
  const RecordFormat& format = converter.format();
  const std::size_t layout = converter.layoutSize();
  const std::size_t longest = layout + kSlack;

  // Lengths near the interesting ends are as likely as any other.
  const std::uint32_t bits = readBits(data + 2);
  const auto nearTo = [&](std::size_t anchor) {
    const auto offset = static_cast<std::int16_t>(bits & 0xFFFF);
    const auto length = static_cast<std::int64_t>(anchor) + offset;
    return static_cast<std::size_t>(std::clamp<std::int64_t>(length, 0, longest));
  };
  std::size_t length = 0;
  switch (data[1] % 4) {
    case 0:
      length = nearTo(0);
      break;
    case 1:
      length = nearTo(format.firstRecordOffset + format.recordSize);
      break;
    case 2:
      length = nearTo(layout);
      break;
    default:
      length = bits % (longest + 1);
  }

  const std::span<const std::uint8_t> content(data + 6, size - 6);
  auto block = std::make_unique<std::uint8_t[]>(length);
  for (std::size_t i = 0; !content.empty() && i < length; ++i) {
    block[i] = content[i % content.size()];
  }
  const std::span<const std::uint8_t> image(block.get(), length);

  static std::string sheet, reference;
  writeSheetInto(sheet, converter, image);
  checkShape(format, sheet);

  if (length != layout) {
    std::vector<std::uint8_t> exact(layout, 0);
    std::copy_n(image.begin(), std::min(length, layout), exact.begin());
    writeSheetInto(reference, converter, exact);
    FUZZ_CHECK(sheet == reference);
  }
  return 0;
}
