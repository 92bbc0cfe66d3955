// Layout of an amd ten-second day file: 8640 records (one per ten seconds) of
// 145 bytes, back to back from offset 0, no header. Each record repeats the
// station description before its time stamp. Fields are packed without
// alignment, so many four-byte fields start at odd offsets (53, 57, 61, 107, ...).
#include "formats/amd_10sec.h"

#include <iterator>
#include <string_view>

#include "formats/record_cells.h"

namespace fenmarq {
// This format's tables, named apart from the other formats' (record_cells.h).
namespace amd_10sec {

using enum FieldType;

constexpr std::size_t kRecordSize = 145;
constexpr std::size_t kRecordCount = 8640;  // 24 hours x 360 ten-second steps

// The notes block after the data rows; the decodings in the field table name
// the note they follow.
constexpr std::string_view kNotes[] = {
    "",
    "※1(緯度・経度)度を 100 倍したものに、分(0.1 分単位)を加算する。"
    "例：42 度 51.7 分-- > 4251.7 値を 10 倍し 42517 が入っている",
    "※2 2000m を加算したものを 10 倍している。"
    "例：2.1m に 2000m を加算し、10 倍した 20021 が入っている",
    "※3 有効桁数小数第 3 位までのものを 1000 倍し、50000 加算してある。例：34.810 -- > 84810",
    "※4 50 を加算し、10 倍したもの。例：4.4℃-- > 54",
};

constexpr Field kFields[] = {
    // Station description and time stamp (to the second).
    {0, kU16, "機関番号", ""},
    {2, kU16, "観測所番号(上２桁)", ""},
    {4, kS32, "観測所番号(下３桁)", ""},
    {8, kU16, "観測所種別", ""},
    {10, kS32, "緯度　※１", "度+0.1分", degreesFromNote(kNotes[1])},
    {14, kS32, "経度　※１", "度+0.1分", degreesFromNote(kNotes[1])},
    {18, kU16, "標高　※２", "0.1m", fromNote(kNotes[2], 20000, 10, "m")},
    {20, kU16, "雨量計地上の高さ", ""},
    {22, kU16, "風向風速計の高さ", ""},
    {24, kU16, "温度計地上の高さ", ""},
    {26, kU16, "日照計地上の高さ", ""},
    {28, kU16, "全天日照計地上の高さ", ""},
    {30, kU16, "気圧計の高さ", ""},
    {32, kU16, "視程計地上の高さ", ""},
    {34, kU16, "積雪計の高さ", ""},
    {36, kU16, "予備", ""},
    {38, kU16, "予備", ""},
    {40, kU16, "年", ""},
    {42, kU16, "月", ""},
    {44, kU16, "日", ""},
    {46, kU16, "時", ""},
    {48, kU16, "分", ""},
    {50, kU16, "秒", ""},
    // Rain.
    {52, kS8, "障害状況識別符", ""},
    {53, kS32, "前10秒間降水量", ""},
    {57, kS32, "雨量パルス発生時刻", ""},
    {61, kS32, "感雨データ", ""},
    // Wind.
    {65, kS8, "障害状況識別符", ""},
    {66, kS32, "前10秒間CW風向の最大値", "度"},
    {70, kS32, "前10秒間CCW風向の最大値", "度"},
    {74, kS32, "前10秒間最大瞬間風速", "0.1m/s", scaled(10, "m/s")},
    {78, kS32, "前10秒間最大瞬間風速時の風向", "度"},
    {82, kS32, "前10秒間最小瞬間風速", "0.1m/s", scaled(10, "m/s")},
    {86, kS32, "前10秒間風向有効データ数", ""},
    {90, kS32, "前10秒間風速有効データ数", ""},
    {94, kS32, "前10秒間風程", ""},
    {98, kS32, "前10秒間積算風向ベクトルX成分　※３", "", fromNote(kNotes[3], 50000, 1000, "")},
    {102, kS32, "前10秒間積算風向ベクトルY成分　※３", "", fromNote(kNotes[3], 50000, 1000, "")},
    // Air temperature.
    {106, kS8, "障害状況識別符", ""},
    {107, kS32, "気温データ　※４", "℃", fromNote(kNotes[4], 500, 10, "℃")},
    // Sunshine.
    {111, kS8, "障害状況識別符", ""},
    {112, kS32, "日照１データ", ""},
    {116, kS32, "日照２データ", ""},
    // Snow.
    {120, kS8, "障害状況識別符", ""},
    {121, kS32, "雪面までの距離", "cm"},
    // Housekeeping words, one per sensor group.
    {125, kS32, "雨量HK", ""},
    {129, kS32, "風HK", ""},
    {133, kS32, "気温HK", ""},
    {137, kS32, "日照HK", ""},
    {141, kS32, "積雪HK", ""},
};

constexpr Group kGroups[] = {
    {"地点情報", 23}, {"雨", 4}, {"風", 11}, {"気温", 2}, {"日照", 3}, {"積雪", 2}, {"HK", 5},
};

static_assert(layoutIsContiguous(kFields, kRecordSize));
static_assert(scaledUnitsAreDecoded(kFields));
static_assert(countFields(kFields, kU16) == 20);
static_assert(countFields(kFields, kS32) == 25);
static_assert(countFields(kFields, kS8) == 5);
static_assert(totalSpan(kGroups) == std::size(kFields));
static_assert(std::size(kFields) == 50);

}  // namespace amd_10sec

constexpr RecordFormat kAmd10SecFormat = {
    .stationBlock = {},
    .fields = amd_10sec::kFields,
    .writeCells = writeRecordCells<amd_10sec::kFields>,
    .writeTableCells = writeTableCells<amd_10sec::kFields>,
    .recordSize = amd_10sec::kRecordSize,
    .recordCount = amd_10sec::kRecordCount,
    .firstRecordOffset = 0,
    .groups = amd_10sec::kGroups,
    .notes = amd_10sec::kNotes,
};

static_assert(layoutSize(kAmd10SecFormat) == 1'252'800);

}  // namespace fenmarq
