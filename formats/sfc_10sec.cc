// Layout of an sfc ten-second day file (current layout): 8640 records (one per
// ten seconds) of 262 bytes, back to back from offset 0, no header. Each record
// repeats the station description before its time stamp, its observation
// groups and its housekeeping words. Fields are packed without alignment: after
// the first one-byte field (offset 52) four-byte fields start at odd and even
// offsets alike.
#include "formats/sfc_10sec.h"

#include <iterator>
#include <string_view>

#include "formats/record_cells.h"

namespace fenmarq {
// This format's tables, named apart from the other formats' (record_cells.h).
namespace sfc_10sec {

using enum FieldType;

constexpr std::size_t kRecordSize = 262;
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
    "※4 50 を加算し、10 倍したもの。例：4.4℃-- > 544",
};

constexpr Field kFields[] = {
    // Station description and time stamp (to the second).
    {0, kU16, "機関番号", ""},
    {2, kU16, "観測所番号(上２桁)", ""},
    {4, kS32, "観測所番号(下３桁)", ""},
    {8, kU16, "観測所種別", ""},
    {10, kS32, "緯度※１", "度+0.1分", degreesFromNote(kNotes[1])},
    {14, kS32, "経度※１", "度+0.1分", degreesFromNote(kNotes[1])},
    {18, kU16, "標高※２", "0.1m", fromNote(kNotes[2], 20000, 10, "m")},
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
    {107, kS32, "気温データ※４", "℃", fromNote(kNotes[4], 500, 10, "℃")},
    // Sunshine.
    {111, kS8, "障害状況識別符", ""},
    {112, kS32, "日照１データ", ""},
    {116, kS32, "日照２データ", ""},
    // Solar radiation.
    {120, kS8, "障害状況識別符", ""},
    {121, kS32, "全天候日射量１", "KJ/㎡"},
    {125, kS32, "全天候日射量２", "KJ/㎡"},
    // Snow.
    {129, kS8, "障害状況識別符", ""},
    {130, kS32, "雪面までの距離", "cm"},
    // Air pressure.
    {134, kS8, "障害状況識別符", ""},
    {135, kS32, "重力加速度", ""},
    {139, kS32, "気圧データ", "hPa"},
    // Humidity.
    {143, kS8, "障害状況識別符", ""},
    {144, kS32, "湿度データ", "%"},
    // Visibility and present weather.
    {148, kS8, "障害状況識別符", ""},
    {149, kS32, "前１分間平均視程", "Km"},
    {153, kS32, "前10分間平均視程", "Km"},
    {157, kS32, "現在天気（瞬間）", ""},
    {161, kS32, "現在天気（15分）", ""},
    {165, kS32, "現在天気（1時間）", ""},
    {169, kS32, "降水強度（視程）", ""},
    {173, kS32, "積算降雪量（視程）", ""},
    // Wind, second set: the same quantities as above, labelled with full-width "１０".
    {177, kS8, "障害状況識別符", ""},
    {178, kS32, "前１０秒間CW風向の最大値", "度"},
    {182, kS32, "前１０秒間CCW風向の最大値", "度"},
    {186, kS32, "前１０秒間最大瞬間風速", "0.1m/s", scaled(10, "m/s")},
    {190, kS32, "前１０秒間最大瞬間風速の風向", "度"},
    {194, kS32, "前１０秒間最小瞬間風速", "0.1m/s", scaled(10, "m/s")},
    {198, kS32, "前１０秒間風向有効データ数", ""},
    {202, kS32, "前１０秒間風速有効データ数", ""},
    {206, kS32, "前１０秒間風程", ""},
    {210, kS32, "前１０秒間積算風向ベクトルX成分※３", "", fromNote(kNotes[3], 50000, 1000, "")},
    {214, kS32, "前１０秒間積算風向ベクトルY成分※３", "", fromNote(kNotes[3], 50000, 1000, "")},
    // Housekeeping words, one per sensor group and one for the station unit.
    {218, kS32, "雨量HK", ""},
    {222, kS32, "風HK", ""},
    {226, kS32, "風HK(0.25)", ""},
    {230, kS32, "気温HK", ""},
    {234, kS32, "日照HK", ""},
    {238, kS32, "日射HK", ""},
    {242, kS32, "積雪HK", ""},
    {246, kS32, "気圧HK", ""},
    {250, kS32, "湿度HK", ""},
    {254, kS32, "視程HK", ""},
    {258, kS32, "装置HK", ""},
};

constexpr Group kGroups[] = {
    {"地点情報", 23}, {"雨", 4},   {"風", 11},  {"気温", 2}, {"日照", 3}, {"日射量", 3},
    {"積雪", 2},      {"気圧", 3}, {"湿度", 2}, {"視程", 8}, {"風", 11},  {"HK", 11},
};

static_assert(layoutIsContiguous(kFields, kRecordSize));
static_assert(scaledUnitsAreDecoded(kFields));
static_assert(countFields(kFields, kU16) == 20);
static_assert(countFields(kFields, kS32) == 53);
static_assert(countFields(kFields, kS8) == 10);
static_assert(totalSpan(kGroups) == std::size(kFields));
static_assert(std::size(kFields) == 83);

}  // namespace sfc_10sec

constexpr RecordFormat kSfc10SecFormat = {
    .stationBlock = {},
    .fields = sfc_10sec::kFields,
    .writeCells = writeRecordCells<sfc_10sec::kFields>,
    .writeTableCells = writeTableCells<sfc_10sec::kFields>,
    .recordSize = sfc_10sec::kRecordSize,
    .recordCount = sfc_10sec::kRecordCount,
    .firstRecordOffset = 0,
    .groups = sfc_10sec::kGroups,
    .notes = sfc_10sec::kNotes,
};

static_assert(layoutSize(kSfc10SecFormat) == 2'263'680);

}  // namespace fenmarq
