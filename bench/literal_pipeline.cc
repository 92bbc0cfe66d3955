// The conversion of one file written the way a first, plain version would do
// it: one byte at a time through stdio (fgetc/fputc), one fprintf per value.
// The benchmark script checks that its outputs equal fenmarq-cli's and times
// the two side by side.
// Usage: literal_pipeline INPUT  (run in a folder with HEXFiles, CSVFiles, CHKFiles)
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "convert/conversion_rule.h"
#include "convert/observation_file_name.h"
#include "formats/byte_readers.h"
#include "formats/format_converter.h"
#include "platform/cp932.h"

namespace fenmarq {
namespace {

void put(std::FILE* out, const std::string& text) { std::fputs(text.c_str(), out); }

void putValue(std::FILE* out, const Field& field, const std::uint8_t* at) {
  switch (field.type) {
    case FieldType::kU16:
      std::fprintf(out, "%u,", unsigned{readU16(at)});
      break;
    case FieldType::kS32:
      std::fprintf(out, "%d,", readS32(at));
      break;
    case FieldType::kS8:
      std::fprintf(out, "%d,", int{readS8(at)});
      break;
  }
}

void writeSheet(std::FILE* out, const RecordFormat& format, const std::vector<std::uint8_t>& image,
                const std::string& fileName) {
  const std::unique_ptr<Cp932Encoder> encoder = Cp932Encoder::open();
  Cp932Encoder& cp932 = *encoder;
  put(out, cp932.encode("ファイル名") + "," + cp932.encode(fileName) + "\n");
  for (const Group& group : format.groups) {
    put(out, cp932.encode(group.label));
    for (std::size_t i = 0; i < group.span; ++i) std::fputc(',', out);
  }
  std::fputc('\n', out);
  for (const auto& fields : {format.stationBlock, format.fields}) {
    for (const Field& field : fields) put(out, cp932.encode(field.label) + ",");
  }
  std::fputc('\n', out);
  for (const auto& fields : {format.stationBlock, format.fields}) {
    for (const Field& field : fields) put(out, cp932.encode(field.unit) + ",");
  }
  std::fputc('\n', out);
  for (std::size_t k = 0; k < format.recordCount; ++k) {
    for (const Field& field : format.stationBlock) {
      if (k == 0) {
        putValue(out, field, image.data() + field.offset);
      } else {
        std::fputc(',', out);
      }
    }
    const std::uint8_t* record = image.data() + format.firstRecordOffset + k * format.recordSize;
    for (const Field& field : format.fields) putValue(out, field, record + field.offset);
    std::fputc('\n', out);
  }
  for (std::string_view note : format.notes) put(out, cp932.encode(note) + "\n");
}

int run(const char* path) {
  const ObservationFileName name = parseObservationFileName(path, "/");
  const std::optional<ConversionRule> rule = selectConversionRule(name);
  if (!rule) return 2;
  std::FILE* in = std::fopen(path, "rb");
  std::FILE* hex = std::fopen(("./HEXFiles/HEX_" + name.fileName + ".txt").c_str(), "w+b");
  std::FILE* csv = std::fopen(("./CSVFiles/CSV_" + name.fileName + ".CSV").c_str(), "wb");
  const std::string chkPath = "./CHKFiles/CHK_" + name.fileName + ".txt";
  std::FILE* chk = std::fopen(chkPath.c_str(), "w+b");
  if (!in || !hex || !csv || !chk) return 1;

  const RecordFormat& format = rule->converter->format();
  std::vector<std::uint8_t> image;
  for (int c; (c = std::fgetc(in)) != EOF;) image.push_back(static_cast<std::uint8_t>(c));
  const std::size_t length = image.size();
  image.resize(std::max(length, layoutSize(format)) + 5, 0);

  static const char kDigits[] = "0123456789ABCDEF";
  for (std::size_t k = 0; k < length; ++k) {
    const char high = kDigits[image[k] >> 4], low = kDigits[image[k] & 15];
    std::fputc(high, hex);
    std::fputc(low, hex);
    std::fputc(high, chk);
    std::fputc(low, chk);
  }
  std::fclose(chk);
  chk = std::fopen(chkPath.c_str(), "r+b");
  bool same = true;
  for (std::size_t k = 0; k < length; ++k) {
    const int high = std::fgetc(chk), low = std::fgetc(chk);
    same &= high == kDigits[image[k] >> 4] && low == kDigits[image[k] & 15];
  }
  std::fclose(chk);
  writeSheet(csv, format, image, name.fileName);
  std::fclose(in);
  std::fclose(hex);
  std::fclose(csv);
  return same ? 0 : 3;
}

}  // namespace
}  // namespace fenmarq

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: literal_pipeline INPUT\n");
    return 2;
  }
  return fenmarq::run(argv[1]);
}
