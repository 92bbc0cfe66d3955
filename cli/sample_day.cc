#include "cli/sample_day.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "convert/conversion_rule.h"
#include "convert/observation_file_name.h"
#include "formats/amd_10sec.h"
#include "formats/amd_1min.h"
#include "formats/format_converter.h"
#include "formats/record_time.h"
#include "formats/sfc_10sec.h"
#include "formats/sfc_10sec_2008.h"
#include "formats/sfc_1min.h"

namespace fenmarq {
namespace {

constexpr SampleFile kSamples[] = {
    {"amd_1min_20160412.62078", kAmd1MinFormat, 60},
    {"amd_10sec_20160412.62078", kAmd10SecFormat, 10},
    {"sfc_10sec_20160412.47662", kSfc10SecFormat, 10},
    {"sfc_10sec_20120601.47662", kSfc10Sec2008Format, 10},
    {"sfc_1min_20160412.47662", kSfc1MinFormat, 60},
};

// What the sample knows of the moment a record describes.
struct Moment {
  int year, month, day;
  int seconds;  // since midnight
  int secondsPerRecord;
  std::size_t record;
  int station;
};

bool has(std::string_view label, std::string_view part) {
  return label.find(part) != std::string_view::npos;
}

// The samples need only smooth daily curves. A short series stands in for the
// maths library, which fenmarq-cli would otherwise load at every start (about
// a quarter of a millisecond) for the samples alone.

// The sine of `turns` whole turns: reduced to a quarter turn either side of
// zero, then an odd Taylor series (error below 1e-6).
double sineOfTurns(double turns) {
  double x = turns - static_cast<double>(static_cast<std::int64_t>(turns));  // (-1, 1)
  if (x < 0) x += 1;                                                         // [0, 1)
  if (x > 0.5) x -= 1;                                                       // (-0.5, 0.5]
  if (x > 0.25) x = 0.5 - x;
  if (x < -0.25) x = -0.5 - x;
  const double r = x * 6.283185307179586;  // radians, within a quarter turn
  const double r2 = r * r;
  return r * (1 - r2 / 6 * (1 - r2 / 20 * (1 - r2 / 42 * (1 - r2 / 72 * (1 - r2 / 110)))));
}

double cosineOfTurns(double turns) { return sineOfTurns(turns + 0.25); }

// Rounded half away from zero.
std::int64_t rounded(double x) { return static_cast<std::int64_t>(x < 0 ? x - 0.5 : x + 0.5); }

// -1 at 03:00, +1 at 15:00.
double diurnal(const Moment& m) { return sineOfTurns(m.seconds / 86400.0 - 0.375); }

// A small, repeatable jitter in [0, 1) per record and column.
double jitter(const Moment& m, std::size_t column) {
  std::uint32_t x = static_cast<std::uint32_t>(m.record * 2654435761u + column * 40503u);
  x ^= x >> 13;
  x *= 0x5bd1e995u;
  x ^= x >> 15;
  return (x & 0xFFFF) / 65536.0;
}

bool raining(const Moment& m) { return m.seconds >= 13 * 3600 && m.seconds < 14 * 3600 + 1800; }
bool sunny(const Moment& m) {
  return m.seconds >= 6 * 3600 && m.seconds < 18 * 3600 && !raining(m);
}

// `value`, a quantity in the unit of `field`'s decoding or, where the field
// is not decoded, of its unit cell, as the field stores it: a decoded field
// adds its offset to the value times its scale (15.2 degC under "(T + 50) x
// 10" is 652), any other field holds the value in whole units (1008 under
// "hPa", 20 under "Km").
std::int64_t stored(const Field& field, double value) {
  const Decoding& decoding = field.decoding;
  if (decoding.encoding != Encoding::kLinear) return rounded(value);
  return rounded(value * decoding.scale) + decoding.offset;
}

std::int64_t sampleValue(const Field& field, std::string_view group, std::size_t column,
                         const Moment& m) {
  const std::string_view label = field.label;
  const double swing = diurnal(m);
  const double temperature = 15 + 5.5 * swing;                    // 9.5 to 20.5 degC
  const double wind = 3.5 + 1.5 * swing + jitter(m, column);      // 2 to 6 m/s
  const double direction = 220 + 40 * swing + 20 * jitter(m, 0);  // 180 to 280 degrees
  const double sun = std::max(0.0, -cosineOfTurns(m.seconds / 86400.0));
  const double radiation = 0.8 * sun * m.secondsPerRecord;  // kJ/m^2, 0.8 kW/m^2 at noon
  const std::int64_t minutes = m.seconds / 60;
  const int perMinute = 60 / m.secondsPerRecord;

  if (group == "HK" || has(label, "障害状況識別符") || label == "予備") return 0;
  if (has(label, "利用フラグ")) return 0;
  if (label == "年") return m.year;
  if (label == "月") return m.month;
  if (label == "日") return m.day;
  if (label == "時") return m.seconds / 3600;
  if (label == "分") return minutes % 60;
  if (label == "秒") return m.seconds % 60;
  if (has(label, "機関番号")) return 1;
  if (has(label, "番号(上２桁)")) return m.station / 1000;
  if (has(label, "番号(下３桁)")) return m.station % 1000;
  if (has(label, "観測所種別")) return 1;
  if (has(label, "緯度")) return 35415;   // 35 deg 41.5 min
  if (has(label, "経度")) return 139450;  // 139 deg 45.0 min
  if (has(label, "標高")) return stored(field, 6.1);
  if (has(label, "高さ")) {
    if (has(label, "雨量計")) return 5;
    if (has(label, "風向風速計")) return 173;
    if (has(label, "温度計")) return 15;
    if (has(label, "日照計") || has(label, "日射計")) return 160;
    if (has(label, "気圧計")) return 20080;
    if (has(label, "視程計")) return 30;
    return 0;
  }
  if (has(label, "重力加速度")) return 7980;  // 9.7980 m/s^2, stored minus 90000
  if (has(label, "ベクトル")) return stored(field, cosineOfTurns(direction / 360));
  if (has(label, "16方位")) return 1 + rounded(direction / 22.5) % 16;
  if (has(label, "36方位")) return 1 + rounded(direction / 10) % 36;
  if (has(label, "風向")) return rounded(direction);
  if (has(label, "有効データ数")) return 4 * m.secondsPerRecord;
  if (has(label, "風程"))
    return has(label, "カウンタ") ? static_cast<std::int64_t>(m.record * 3)
                                  : rounded(wind * m.secondsPerRecord);
  if (has(label, "最大瞬間風速")) return stored(field, wind * 1.6);
  if (has(label, "最小瞬間風速")) return stored(field, wind * 0.5);
  if (has(label, "風速")) return stored(field, wind);
  if (has(label, "降水積算カウンタ")) return static_cast<std::int64_t>(m.record / 7);
  if (has(label, "降水量") || has(label, "降水強度") || has(label, "降水の有無") ||
      has(label, "降水種別") || has(label, "感雨")) {
    return raining(m) ? (has(label, "強度") ? 30 : 1) : 0;
  }
  if (has(label, "日照積算カウンタ")) return sunny(m) ? minutes : 0;
  if (has(label, "日照")) return sunny(m) ? (has(label, "時間") ? 60 / perMinute : 1) : 0;
  if (has(label, "日射量")) return stored(field, radiation);
  if (has(label, "出力電位")) return rounded(sun * 8);  // mV of a thermopile
  if (has(label, "方位角")) return rounded(90 + 180.0 * m.seconds / 86400);
  if (has(label, "高度角")) return rounded(sun * 60);
  if (has(label, "機械温度")) return stored(field, temperature + 5);  // housed in the sun
  if (has(label, "露点")) return stored(field, temperature - 6);
  if (has(label, "気温"))
    return stored(field,
                  temperature + (has(label, "最高") ? 0.2 : 0) - (has(label, "最低") ? 0.2 : 0));
  if (has(label, "雪面")) return 200;
  if (has(label, "蒸気圧")) return stored(field, 12);
  if (has(label, "気圧")) return stored(field, has(label, "海面") ? 1013.2 : 1008);
  if (has(label, "湿度")) return stored(field, 70 - 20 * swing);
  if (has(label, "視程")) return stored(field, 20);
  return 0;
}

void store(std::vector<std::uint8_t>& bytes, std::size_t at, FieldType type, std::int64_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < fieldWidth(type); ++i) {
    bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  }
}

// The group label above each column, in column order.
std::vector<std::string_view> columnGroups(const RecordFormat& format) {
  std::vector<std::string_view> groups;
  for (const Group& group : format.groups) groups.insert(groups.end(), group.span, group.label);
  return groups;
}

}  // namespace

std::span<const SampleFile> sampleFiles() { return kSamples; }

bool isCalendarDate(std::string_view date) {
  if (date.size() != 8 ||
      !std::all_of(date.begin(), date.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const auto number = [&](std::size_t at, std::size_t length) {
    return std::stoi(std::string(date.substr(at, length)));
  };
  TimeStamp stamp;
  stamp.year = number(0, 4);
  stamp.month = number(4, 2);
  stamp.day = number(6, 2);
  return calendarTime(stamp).has_value();
}

std::string sampleFileName(const SampleFile& sample, std::string_view date) {
  const std::string_view name = sample.fileName;
  const std::size_t dateAt = name.rfind('_') + 1;
  return std::string(name.substr(0, dateAt)) + std::string(date) +
         std::string(name.substr(dateAt + 8));
}

bool sampleCoversDate(const SampleFile& sample, std::string_view date) {
  const auto rule =
      selectConversionRule(parseObservationFileName(sampleFileName(sample, date), "/"));
  return rule && &rule->converter->format() == &sample.format;
}

std::vector<std::uint8_t> makeSampleDay(const SampleFile& sample, std::string_view fileName) {
  const RecordFormat& format = sample.format;
  const std::string_view name = fileName.empty() ? sample.fileName : fileName;
  const std::size_t dateAt = name.rfind('_') + 1;
  const auto number = [&](std::size_t at, std::size_t length) {
    return std::stoi(std::string(name.substr(at, length)));
  };
  Moment m{number(dateAt, 4),       number(dateAt + 4, 2),
           number(dateAt + 6, 2),   0,
           sample.secondsPerRecord, 0,
           number(dateAt + 9, 5)};

  std::vector<std::uint8_t> bytes(layoutSize(format));
  const std::vector<std::string_view> groups = columnGroups(format);
  const std::size_t firstColumn = format.stationBlock.size();
  for (std::size_t k = 0; k < format.recordCount; ++k) {
    m.record = k;
    m.seconds = static_cast<int>(k) * sample.secondsPerRecord;
    const std::size_t base = format.firstRecordOffset + k * format.recordSize;
    for (std::size_t i = 0; i < format.fields.size(); ++i) {
      const Field& field = format.fields[i];
      store(bytes, base + field.offset, field.type,
            sampleValue(field, groups[firstColumn + i], firstColumn + i, m));
    }
  }
  // A station block is written last: where it shares bytes with the first
  // record, the station description is what the file holds.
  m.record = 0;
  m.seconds = 0;
  for (std::size_t i = 0; i < format.stationBlock.size(); ++i) {
    const Field& field = format.stationBlock[i];
    store(bytes, field.offset, field.type, sampleValue(field, groups[i], i, m));
  }
  return bytes;
}

}  // namespace fenmarq
