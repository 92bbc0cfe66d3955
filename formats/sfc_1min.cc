// Layout of an sfc one-minute day file: 1440 records (one per minute) of 255
// bytes, back to back from offset 0, no header. Each record repeats the station
// description before its time stamp. Fields are packed without alignment, so
// many four-byte fields start at odd offsets (51, 55, 61, ...). Most measured
// values are a four-byte value followed by a use flag and a reserved byte.
#include "formats/sfc_1min.h"

#include <iterator>
#include <string_view>

#include "formats/record_cells.h"

namespace fenmarq {
// This format's tables, named apart from the other formats' (record_cells.h).
namespace sfc_1min {

using enum FieldType;

constexpr std::size_t kRecordSize = 255;
constexpr std::size_t kRecordCount = 1440;  // 24 hours x 60 minutes

// The notes block after the data rows; the decodings in the field table name
// the note they follow.
constexpr std::string_view kNotes[] = {
    "",
    "※1(緯度・経度)度を 100 倍したものに、分(0.1 分単位)を加算する。"
    "例：42 度 51.7 分-- > 4251.7 値を 10 倍し 42517 が入っている",
    "※2 2000m を加算",
    "※3(重力加速度) - 90000 を加算",
};

// The two directions at the maximum gust carry the mark "※４", which has no
// note; gravity has a note with an offset but no scale.
constexpr Decoding kMarkWithoutNote = unclear("mark ※４ has no note");
constexpr Decoding kOffsetWithoutScale = unclear("note gives an offset but no scale", kNotes[3]);

constexpr Field kFields[] = {
    // Station description and time stamp.
    {0, kU16, "機関番号", ""},
    {2, kU16, "地点番号(上２桁)", ""},
    {4, kS32, "地点番号(下３桁)", ""},
    {8, kU16, "観測所種別", ""},
    {10, kS32, "緯度※１", "度+0.1分", degreesFromNote(kNotes[1])},
    {14, kS32, "経度※１", "度+0.1分", degreesFromNote(kNotes[1])},
    {18, kU16, "標高※２", "0.1m", fromNote(kNotes[2], 20000, 10, "m")},
    {20, kU16, "雨量計地上の高さ", "0.1m", scaled(10, "m")},
    {22, kU16, "風向風速計の高さ", "0.1m", scaled(10, "m")},
    {24, kU16, "温度計地上の高さ", "0.1m", scaled(10, "m")},
    {26, kU16, "日照計地上の高さ", "0.1m", scaled(10, "m")},
    {28, kU16, "全天日射計地上の高さ", "0.1m", scaled(10, "m")},
    {30, kU16, "気圧計の高さ※２", "0.1m", fromNote(kNotes[2], 20000, 10, "m")},
    {32, kU16, "視程計地上の高さ", "0.1m", scaled(10, "m")},
    {34, kU16, "予備", ""},
    {36, kU16, "予備", ""},
    {38, kU16, "予備", ""},
    {40, kU16, "年", ""},
    {42, kU16, "月", ""},
    {44, kU16, "日", ""},
    {46, kU16, "時", ""},
    {48, kU16, "分", ""},
    // Rain.
    {50, kS8, "障害状況識別符", ""},
    {51, kS32, "降水積算カウンタ", ""},
    {55, kS32, "前１分間降水量", "0.1mm", scaled(10, "mm")},
    {59, kS8, "利用フラグ", ""},
    {60, kS8, "予備", ""},
    {61, kS32, "降水強度", "0.1mm/h", scaled(10, "mm/h")},
    {65, kS8, "利用フラグ", ""},
    {66, kS8, "予備", ""},
    {67, kS32, "最大降水強度", "0.1mm/h", scaled(10, "mm/h")},
    {71, kS8, "利用フラグ", ""},
    {72, kS8, "予備", ""},
    {73, kS32, "降水の有無", ""},
    {77, kS8, "利用フラグ", ""},
    {78, kS8, "予備", ""},
    {79, kS32, "降水種別", ""},
    {83, kS8, "利用フラグ", ""},
    {84, kS8, "予備", ""},
    // Wind.
    {85, kS8, "障害状況識別符", ""},
    {86, kS32, "CW風向の最大値", "度"},
    {90, kS8, "利用フラグ", ""},
    {91, kS8, "予備", ""},
    {92, kS32, "CCW風向の最大値", "度"},
    {96, kS8, "利用フラグ", ""},
    {97, kS8, "予備", ""},
    {98, kS32, "最大瞬間風速（３秒間移動平均）", "0.1m/s", scaled(10, "m/s")},
    {102, kS8, "利用フラグ", ""},
    {103, kS8, "予備", ""},
    {104, kS32, "最大瞬間風速（３秒間移動平均）時の風向（16方位）※４", "", kMarkWithoutNote},
    {108, kS32, "最大瞬間風速（３秒間移動平均）時の風向（36方位）※４", "", kMarkWithoutNote},
    {112, kS32, "最小瞬間風速(3秒間移動平均)", "0.1m/s", scaled(10, "m/s")},
    {116, kS8, "利用フラグ", ""},
    {117, kS8, "予備", ""},
    {118, kS32, "平均風向（前10分間のベクトル平均）（16方位）", ""},
    {122, kS8, "利用フラグ", ""},
    {123, kS8, "予備", ""},
    {124, kS32, "平均風向（前10分間のベクトル平均）（36方位）", ""},
    {128, kS8, "利用フラグ", ""},
    {129, kS8, "予備", ""},
    {130, kS32, "風程カウンタ", ""},
    {134, kS8, "利用フラグ", ""},
    {135, kS8, "予備", ""},
    {136, kS32, "風程有効データ数", ""},
    {140, kS32, "平均風速（10分間移動平均", "0.1m/s",
     scaled(10, "m/s")},  // label has no closing parenthesis
    {144, kS8, "利用フラグ", ""},
    {145, kS8, "予備", ""},
    // Air temperature.
    {146, kS8, "障害状況識別符", ""},
    {147, kS32, "気温", "0.1℃", scaled(10, "℃")},
    {151, kS8, "利用フラグ", ""},
    {152, kS8, "予備", ""},
    {153, kS32, "最高気温（前１分間）", "0.1℃", scaled(10, "℃")},
    {157, kS8, "利用フラグ", ""},
    {158, kS8, "予備", ""},
    {159, kS32, "最低気温（前１分間）", "0.1℃", scaled(10, "℃")},
    {163, kS8, "利用フラグ", ""},
    {164, kS8, "予備", ""},
    // Sunshine.
    {165, kS8, "障害状況識別符", ""},
    {166, kS32, "日照積算カウンタ", ""},
    {170, kS32, "日照時間", "1s", asStoredIn("s")},
    {174, kS8, "利用フラグ", ""},
    {175, kS8, "予備", ""},
    // Solar radiation.
    {176, kS8, "障害状況識別符", ""},
    {177, kS32, "直達日射量", "0.01KJ/m^2", scaled(100, "KJ/m^2")},
    {181, kS8, "利用フラグ", ""},
    {182, kS8, "予備", ""},
    {183, kS32, "全天日射量", "0.01KJ/m^2", scaled(100, "KJ/m^2")},
    {187, kS8, "利用フラグ", ""},
    {188, kS8, "予備", ""},
    // Snow.
    {189, kS8, "障害状況識別符", ""},
    {190, kS32, "積雪の深さ", "cm"},
    {194, kS8, "利用フラグ", ""},
    {195, kS8, "予備", ""},
    // Air pressure.
    {196, kS8, "障害状況識別符", ""},
    {197, kU16, "重力加速度※３", "m/s^2", kOffsetWithoutScale},
    {199, kS32, "現地気圧", "0.1hPa", scaled(10, "hPa")},
    {203, kS8, "利用フラグ", ""},
    {204, kS8, "予備", ""},
    {205, kS32, "海面気圧", "0.1hPa", scaled(10, "hPa")},
    {209, kS8, "利用フラグ", ""},
    {210, kS8, "予備", ""},
    {211, kS32, "最低海面気圧", "0.1hPa", scaled(10, "hPa")},
    {215, kS8, "利用フラグ", ""},
    {216, kS8, "予備", ""},
    // Humidity.
    {217, kS8, "障害状況識別符", ""},
    {218, kS32, "相対湿度", "%"},
    {222, kS8, "利用フラグ", ""},
    {223, kS8, "予備", ""},
    {224, kS32, "最低相対湿度", "%"},
    {228, kS8, "利用フラグ", ""},
    {229, kS8, "予備", ""},
    {230, kS32, "蒸気圧", "0.1hPa", scaled(10, "hPa")},
    {234, kS8, "利用フラグ", ""},
    {235, kS8, "予備", ""},
    {236, kS32, "露点温度", "0.1℃", scaled(10, "℃")},
    {240, kS8, "利用フラグ", ""},
    {241, kS8, "予備", ""},
    // Visibility and present weather.
    {242, kS8, "障害状況識別符", ""},
    {243, kS32, "視程", "0.001km", scaled(1000, "km")},
    {247, kS8, "利用フラグ", ""},
    {248, kS8, "予備", ""},
    {249, kS32, "15分現在天気", ""},
    {253, kS8, "利用フラグ", ""},
    {254, kS8, "予備", ""},
};

constexpr Group kGroups[] = {
    {"地点情報", 22}, {"雨", 17},  {"風", 28},   {"気温", 10}, {"日照", 5},
    {"日射量", 7},    {"積雪", 4}, {"気圧", 11}, {"湿度", 13}, {"視程", 7},
};

static_assert(layoutIsContiguous(kFields, kRecordSize));
static_assert(scaledUnitsAreDecoded(kFields));
static_assert(countFields(kFields, kU16) == 20);
static_assert(countFields(kFields, kS32) == 37);
static_assert(countFields(kFields, kS8) == 67);
static_assert(totalSpan(kGroups) == std::size(kFields));
static_assert(std::size(kFields) == 124);

}  // namespace sfc_1min

constexpr RecordFormat kSfc1MinFormat = {
    .stationBlock = {},
    .fields = sfc_1min::kFields,
    .writeCells = writeRecordCells<sfc_1min::kFields>,
    .writeTableCells = writeTableCells<sfc_1min::kFields>,
    .recordSize = sfc_1min::kRecordSize,
    .recordCount = sfc_1min::kRecordCount,
    .firstRecordOffset = 0,
    .groups = sfc_1min::kGroups,
    .notes = sfc_1min::kNotes,
};

static_assert(layoutSize(kSfc1MinFormat) == 367'200);

}  // namespace fenmarq
