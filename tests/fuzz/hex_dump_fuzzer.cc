// Arbitrary bytes through the hex rendering and through the HEX and CHK files
// with their read-back check, on real files in a temporary folder.
//
// The rendering must be exactly two upper-case digits per byte and read back
// to the same bytes; the check of a CHK file that was just written must log
// its size as exact and its comparison as a success, and nothing else.
//
// An input that starts with 0xFF 0xFF stands for a long image: the bytes after
// its third byte repeated to a length around one or two rendering blocks, so
// that the block-wise writing and reading is crossed at its edges too.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "convert/file.h"
#include "convert/hex_dump.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/recording_batch.h"

namespace fenmarq {
namespace {

FENMARQ_NO_COVERAGE int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;  // anything else, lower-case digits included
}

FENMARQ_NO_COVERAGE void checkRendering(std::span<const std::uint8_t> bytes,
                                        std::string_view digits) {
  FUZZ_CHECK(digits.size() == 2 * bytes.size());
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    const int high = digitValue(digits[2 * k]);
    const int low = digitValue(digits[2 * k + 1]);
    FUZZ_CHECK(high >= 0 && low >= 0);
    FUZZ_CHECK(high * 16 + low == bytes[k]);
  }
}

// One folder for the whole run, removed at exit.
class WorkFolder {
 public:
  WorkFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fenmarq-fuzz-XXXXXX").string();
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    path_ = pattern;
  }
  ~WorkFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

FENMARQ_NO_COVERAGE std::string readWhole(const std::string& path) {
  std::error_code error;
  std::string content(std::filesystem::file_size(path, error), '\0');
  FUZZ_CHECK(!error);
  File file;
  FUZZ_CHECK(file.open(path, OpenMode::kRead));
  FUZZ_CHECK(file.read(content.data(), content.size()) == content.size());
  return content;
}

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

void checkFiles(std::span<const std::uint8_t> bytes, std::string_view digits) {
  static const WorkFolder folder;
  // Exactly sized heap blocks, so that a write or read past the end of a
  // scratch block is caught too.
  static const auto expected = std::make_unique<char[]>(2 * HexScratch::kBlockBytes);
  static const auto actual = std::make_unique<char[]>(2 * HexScratch::kBlockBytes);
  const HexScratch scratch{expected.get(), actual.get()};
  const std::string hexPath = folder.file("HEX_fuzz.txt");
  const std::string chkPath = folder.file("CHK_fuzz.txt");
  File hex, chk;
  for (const auto& [file, path] : {std::pair{&hex, hexPath}, std::pair{&chk, chkPath}}) {
    FUZZ_CHECK(file->open(path, OpenMode::kOutput));
    FUZZ_CHECK(file->lock() && file->truncate());
  }
  testing::RecordingLog log;
  testing::RecordingView view;
  writeRenderings(bytes, hex, chk, scratch);
  const HexCheckResult result = checkChkFile(bytes, chk, chkPath, scratch, log, view);
  FUZZ_CHECK(hex.close());

  const std::string logged = log.joined();
  FUZZ_CHECK(result == HexCheckResult::kVerified);
  FUZZ_CHECK(view.messages.empty());
  FUZZ_CHECK(contains(logged, "ファイル " + chkPath + " のサイズは正確です。\r\n"));
  FUZZ_CHECK(contains(logged, "\r\nCHKファイルの確認 成功。\n\r\n"));
  FUZZ_CHECK(!contains(logged, "失敗"));
  FUZZ_CHECK(readWhole(hexPath) == digits);
  FUZZ_CHECK(readWhole(chkPath) == digits);
}

}  // namespace
}  // namespace fenmarq

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fenmarq;
  std::span<const std::uint8_t> bytes(data, size);
  std::unique_ptr<std::uint8_t[]> longImage;
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xFF) {
    const std::size_t blocks = 1 + data[2] % 2;
    const auto offset = static_cast<std::int8_t>(data[2]);
    const std::size_t length = blocks * HexScratch::kBlockBytes + offset;
    const std::span<const std::uint8_t> content = bytes.subspan(3);
    longImage = std::make_unique<std::uint8_t[]>(length);
    for (std::size_t i = 0; !content.empty() && i < length; ++i) {
      longImage[i] = content[i % content.size()];
    }
    bytes = {longImage.get(), length};
  }

  auto digits = std::make_unique<char[]>(2 * bytes.size());
  renderHex(bytes, digits.get());
  const std::string_view rendering(digits.get(), 2 * bytes.size());
  checkRendering(bytes, rendering);
  checkFiles(bytes, rendering);
  return 0;
}
