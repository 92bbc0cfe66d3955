#include "convert/conversion_rule.h"

#include "formats/amd_10sec.h"
#include "formats/amd_1min.h"
#include "formats/format_converter.h"
#include "formats/sfc_10sec.h"
#include "formats/sfc_10sec_2008.h"
#include "formats/sfc_1min.h"

namespace fenmarq {
namespace {

// One sheet writer per format table.
constexpr FormatConverter kAmd1Min(kAmd1MinFormat);
constexpr FormatConverter kAmd10Sec(kAmd10SecFormat);
constexpr FormatConverter kSfc10Sec(kSfc10SecFormat);
constexpr FormatConverter kSfc10Sec2008(kSfc10Sec2008Format);
constexpr FormatConverter kSfc1Min(kSfc1MinFormat);

// The end-of-item texts differ in their punctuation on purpose: full-width
// parentheses for rules 1 and 5, ASCII ones for 3 and 4, no space in front of
// ファイル変換 for rule 1 only.
constexpr ConversionRule kRules[] = {
    {1, "amd", "1min", "20081118", "", &kAmd1Min,
     "amd 1min （2008 年 11 月 18 日以降）ファイル変換 終了。\n"},
    {2, "amd", "10sec", "20150303", "", &kAmd10Sec, "amd 10sec ファイル変換 終了。\n"},
    {3, "sfc", "10sec", "20150303", "", &kSfc10Sec,
     "sfc 10sec (2015 年 3 月 3 日以降) ファイル変換 終了。\n"},
    {4, "sfc", "10sec", "20080725", "20150303", &kSfc10Sec2008,
     "sfc 10sec (2008 年 7 月 25 日～2015 年 3 月 2 日) ファイル変換 終了。\n"},
    {5, "sfc", "1min", "20080625", "", &kSfc1Min,
     "sfc 1min （2008 年 6 月 25 日以降） ファイル変換 終了。\n"},
};

}  // namespace

std::span<const ConversionRule> conversionRules() { return kRules; }

std::optional<ConversionRule> selectConversionRule(const ObservationFileName& name) {
  for (const ConversionRule& rule : kRules) {
    if (name.kind == rule.kind && name.interval == rule.interval && name.date >= rule.firstDate &&
        (rule.endDate.empty() || name.date < rule.endDate)) {
      return rule;
    }
  }
  return std::nullopt;
}

}  // namespace fenmarq
