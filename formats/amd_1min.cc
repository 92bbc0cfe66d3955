// Layout of an amd one-minute day file: 1440 records (one per minute) of 171
// bytes, back to back from offset 0, no header. Fields are packed without
// alignment, so many four-byte fields start at odd offsets (51, 55, 61, ...).
#include "formats/amd_1min.h"

#include <iterator>
#include <string_view>

#include "formats/record_cells.h"

namespace fenmarq {
// This format's tables, named apart from the other formats' (record_cells.h).
namespace amd_1min {

using enum FieldType;

constexpr std::size_t kRecordSize = 171;
constexpr std::size_t kRecordCount = 1440;  // 24 hours x 60 minutes

// The notes block after the data rows; the decodings in the field table name
// the note they follow.
constexpr std::string_view kNotes[] = {
    "",
    "(緯度・経度)度を 100 倍したものに、分(0.1 分単位)を加算する。",
    "例：42 度 51.7 分-- > 4251.7 値を 10 倍し 42517 が入っている",
    "",
    "(標高)2000m を加算したものを 10 倍している。",
    "例：2.1m 値に 2000m を加算し、10 倍した 20021 が入っている。",
};

// The unit cell of the two direction maxima is the mark "※１", and the notes
// block has no text for it.
constexpr Decoding kMarkWithoutNote = unclear("unit cell ※１ has no note");

constexpr Field kFields[] = {
    // Station description and time stamp.
    {0, kU16, "機関番号", ""},
    {2, kU16, "観測所番号(上２桁)", ""},
    {4, kS32, "観測所番号(下３桁)", ""},
    {8, kU16, "観測所種別", ""},
    {10, kS32, "緯度", "度+0.1分", degreesFromNote(kNotes[1])},
    {14, kS32, "経度", "度+0.1分", degreesFromNote(kNotes[1])},
    {18, kU16, "標高", "0.1m", fromNote(kNotes[4], 20000, 10, "m")},
    {20, kU16, "雨量計地上の高さ", "0.1m", scaled(10, "m")},
    {22, kU16, "風向風速計の高さ", "0.1m", scaled(10, "m")},
    {24, kU16, "温度計地上の高さ", "0.1m", scaled(10, "m")},
    {26, kU16, "予備", "0.1m", scaled(10, "m")},
    {28, kU16, "予備", "0.1m", scaled(10, "m")},
    {30, kU16, "予備", "0.1m", scaled(10, "m")},
    {32, kU16, "予備", "0.1m", scaled(10, "m")},
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
    // Wind.
    {73, kS8, "障害状況識別符", ""},
    {74, kS32, "CW風向の最大値", "※１", kMarkWithoutNote},
    {78, kS8, "利用フラグ", ""},
    {79, kS8, "予備", ""},
    {80, kS32, "CCW風向の最大値", "※１", kMarkWithoutNote},
    {84, kS8, "利用フラグ", ""},
    {85, kS8, "予備", ""},
    {86, kS32, "最大瞬間風速（３秒間移動平均）", "0.1m/s", scaled(10, "m/s")},
    {90, kS8, "利用フラグ", ""},
    {91, kS8, "予備", ""},
    {92, kS32, "最大瞬間風速（３秒間移動平均）時の風向（16方位）", ""},
    {96, kS32, "最大瞬間風速（３秒間移動平均）時の風向（36方位）", ""},
    {100, kS32, "最小瞬間風速（３秒移動平均）", "0.1m/s", scaled(10, "m/s")},
    {104, kS8, "利用フラグ", ""},
    {105, kS8, "予備", ""},
    {106, kS32, "平均風向（前10分間のベクトル平均）(16方位)", ""},
    {110, kS8, "利用フラグ", ""},
    {111, kS8, "予備", ""},
    {112, kS32, "平均風向（前10分間のベクトル平均）（36方位）", ""},
    {116, kS8, "利用フラグ", ""},
    {117, kS8, "予備", ""},
    {118, kS32, "風程カウンタ", ""},
    {122, kS8, "利用フラグ", ""},
    {123, kS8, "予備", ""},
    {124, kS32, "風程有効データ数", ""},
    {128, kS32, "平均風速（10分移動平均）", "0.1m/s", scaled(10, "m/s")},
    {132, kS8, "利用フラグ", ""},
    {133, kS8, "予備", ""},
    // Air temperature.
    {134, kS8, "障害状況識別符", ""},
    {135, kS32, "気温", "0.1℃", scaled(10, "℃")},
    {139, kS8, "利用フラグ", ""},
    {140, kS8, "予備", ""},
    {141, kS32, "最高気温（前1分間）", "0.1℃", scaled(10, "℃")},
    {145, kS8, "利用フラグ", ""},
    {146, kS8, "予備", ""},
    {147, kS32, "最低気温（前1分間）", "0.1℃", scaled(10, "℃")},
    {151, kS8, "利用フラグ", ""},
    {152, kS8, "予備", ""},
    // Sunshine.
    {153, kS8, "障害状況識別符", ""},
    {154, kS32, "日照積算カウンタ", ""},
    {158, kS32, "日照時間", "１秒", asStoredIn("s")},
    {162, kS8, "利用フラグ", ""},
    {163, kS8, "予備", ""},
    // Snow.
    {164, kS8, "障害状況識別符", ""},
    {165, kS32, "積雪の深さ", "cm"},
    {169, kS8, "利用フラグ", ""},
    {170, kS8, "予備", ""},
};

constexpr Group kGroups[] = {
    {"地点情報", 22}, {"雨", 11}, {"風", 28}, {"気温", 10}, {"日照", 5}, {"積雪", 4},
};

static_assert(layoutIsContiguous(kFields, kRecordSize));
static_assert(scaledUnitsAreDecoded(kFields));
static_assert(countFields(kFields, kU16) == 19);
static_assert(countFields(kFields, kS32) == 24);
static_assert(countFields(kFields, kS8) == 37);
static_assert(totalSpan(kGroups) == std::size(kFields));

}  // namespace amd_1min

constexpr RecordFormat kAmd1MinFormat = {
    .stationBlock = {},
    .fields = amd_1min::kFields,
    .writeCells = writeRecordCells<amd_1min::kFields>,
    .writeTableCells = writeTableCells<amd_1min::kFields>,
    .recordSize = amd_1min::kRecordSize,
    .recordCount = amd_1min::kRecordCount,
    .firstRecordOffset = 0,
    .groups = amd_1min::kGroups,
    .notes = amd_1min::kNotes,
};

static_assert(layoutSize(kAmd1MinFormat) == 246'240);

}  // namespace fenmarq
