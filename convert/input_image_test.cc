#include "convert/input_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "convert/file.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

using testing::ScopedTempDir;
using testing::writeFile;

// The image is sized from the file's full 64-bit size: the smallest multiple
// of 16 that holds the file and 4 more bytes, plus 1.
TEST(InputImageTest, CapacityIsNextMultipleOf16AfterFourSparesPlusOne) {
  // Small sizes, the samples' sizes, around 2^32 and beyond.
  // clang-format off
  const std::pair<std::uint64_t, std::uint64_t> cases[] = {
      {0, 17}, {1, 17}, {11, 17}, {12, 17}, {13, 33}, {28, 33}, {29, 49},
      {246'240, 246'257}, {2'263'680, 2'263'697},
      {4'294'967'275, 4'294'967'281}, {4'294'967'292, 4'294'967'297},
      {4'294'967'293, 4'294'967'313}, {4'294'967'295, 4'294'967'313},
      {4'294'967'299, 4'294'967'313}, {5'000'000'000, 5'000'000'017},
      {1'099'511'627'788, 1'099'511'627'793}};
  // clang-format on
  for (const auto& [size, capacity] : cases) {
    EXPECT_EQ(InputImage::capacityFor(size), capacity) << size;
  }
}

// A sparse file of more than 4 GiB: its size as the system reports it gives
// an image of the full size (nothing is read into it here).
TEST(InputImageTest, SparseFileBeyond4GibGetsAFullSizeImage) {
  ScopedTempDir dir;
  constexpr std::uintmax_t kSize = (std::uintmax_t{1} << 32) + 3;
  writeFile("in", std::string_view());
  std::filesystem::resize_file("in", kSize);
  const std::uintmax_t size = std::filesystem::file_size("in");
  ASSERT_EQ(size, kSize);
  InputImage image;
  if (!image.allocate(size)) GTEST_SKIP() << "4 GiB of address space not available here";
  EXPECT_EQ(image.capacity(), 4'294'967'313u);
  EXPECT_EQ(image.length(), 0u);
}

// The whole file is read; one that grew after its size was taken is cut one
// byte before the end of the block, never read past it.
TEST(InputImageTest, ReadsTheFileUpToOneByteBeforeTheEndOfTheBlock) {
  ScopedTempDir dir;
  const std::string content = std::string("\0\x01\xFF", 3) + std::string(5000, 'x');
  writeFile("in", content);
  const std::pair<std::size_t, std::size_t> cases[] = {{content.size(), content.size()}, {3, 16}};
  for (const auto& [sizeTaken, length] : cases) {
    File input;
    ASSERT_TRUE(input.open("in", OpenMode::kRead));
    InputImage image;
    ASSERT_TRUE(image.allocate(sizeTaken));
    image.readFrom(input);
    EXPECT_EQ(std::string(image.bytes().begin(), image.bytes().end()), content.substr(0, length));
  }
}

}  // namespace
}  // namespace fenmarq
