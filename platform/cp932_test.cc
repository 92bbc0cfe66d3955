#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace fenmarq {
namespace {

TEST(Cp932EncoderTest, EncodesSheetTextsAndReplacesWhatItCannotHold) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", ""},
      {"amd_1min,20160412.62078", "amd_1min,20160412.62078"},
      {"ファイル名", "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC"},
      // Second bytes that equal "\" (0x5C) in CP932.
      {"ソ予", "\x83\x5C\x97\x5C"},
      // The full-width tilde and the Windows extensions of the labels.
      {"～㎡℃①", "\x81\x60\x87\x75\x81\x8E\x87\x40"},
      {"ｱ", "\xB1"},
      // JIS characters written as their Microsoft twins.
      {"¢£¥¬—‖‾−〜", "\x81\x91\x81\x92\\\x81\xCA\x81\x5C\x81\x61~\x81\x7C\x81\x60"},
      // No CP932 form, and bytes that are not UTF-8: one "?" each.
      {"a€b", "a?b"},
      // No look-alikes: é is not "e", © is not "c".
      {"é©", "??"},
      {"a\xF0\x9F\x98\x80z", "a?z"},
      {"\xFF\xFE", "??"},
      {"a\xE3\x82", "a??"},
  };
  const std::unique_ptr<Cp932Encoder> cp932 = Cp932Encoder::open();
  ASSERT_NE(cp932, nullptr);
  for (const auto& [utf8, expected] : cases) EXPECT_EQ(cp932->encode(utf8), expected) << utf8;
}

}  // namespace
}  // namespace fenmarq
