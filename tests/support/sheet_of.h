// The CSV sheet that a converter writes for an image, gathered in memory.
#ifndef FENMARQ_TESTS_SUPPORT_SHEET_OF_H_
#define FENMARQ_TESTS_SUPPORT_SHEET_OF_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/byte_sink.h"
#include "formats/csv_sheet.h"
#include "formats/format_converter.h"
#include "platform/cp932.h"

namespace fenmarq::testing {

class StringSink final : public ByteSink {
 public:
  void write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

inline std::string sheetOf(const FormatConverter& converter, std::span<const std::uint8_t> image,
                           std::string_view fileName) {
  StringSink sink;
  {
    CsvSheet sheet(sink);
    converter.writeSheet(image, fileName, *Cp932Encoder::open(), sheet);
  }  // the rest is passed on when the sheet goes
  return sink.text;
}

}  // namespace fenmarq::testing

#endif  // FENMARQ_TESTS_SUPPORT_SHEET_OF_H_
