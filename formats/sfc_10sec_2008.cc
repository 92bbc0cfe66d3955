// Layout of an sfc ten-second day file (earlier layout, 2008-07-25 to
// 2015-03-02). Unlike the current layout, the station description is stored
// once, not in every record:
//
//   image bytes  0..13        never read (they show only in the hex dump)
//   image bytes 14..39        station block: identifiers, position, elevation
//                             and date, printed in the first data row only
//   image bytes 26..1537945   8640 rows (one per ten seconds) of 178 bytes
//
// Row 0 starts at image offset 26, not at 40 where the station block ends, so
// image bytes 26 to 39 are read twice: as the tail of the station block
// (latitude from its upper two bytes on, longitude, elevation, year, month,
// day) and as the first fields of row 0 (row offsets 0 to 13). Both readings
// are printed on the first data row.
#include "formats/sfc_10sec_2008.h"

#include <iterator>
#include <string_view>

#include "formats/record_cells.h"

namespace fenmarq {
// This format's tables, named apart from the other formats' (record_cells.h).
namespace sfc_10sec_2008 {

using enum FieldType;

constexpr std::size_t kStationBlockBegin = 14;
constexpr std::size_t kStationBlockEnd = 40;
constexpr std::size_t kRecordSize = 178;
constexpr std::size_t kRecordCount = 8640;  // 24 hours x 360 ten-second steps
constexpr std::size_t kFirstRecordOffset = 26;

// The notes block after the data rows; the decodings in the field table name
// the note they follow.
constexpr std::string_view kNotes[] = {
    "",
    "※1(緯度・経度)度を 100 倍したものに、分(0.1 分単位)を加算する。"
    "例：42 度 51.7 分-- > 4251.7 値を 10 倍し 42517 が入っている",
    "※2 2000m を加算",
    "※3 有効桁数小数第 3 位までのものを 1000 倍し、50000 加算してある。例：34.810 -- > 84810",
    "※4 50 を加算し、10 倍したもの。例：4.4℃-- > 544",
    "※5 直達日射計で測定した日射量を求めるための感部電圧値",
    "※6 地上気象観測装置の日射日照計で測定した日射量",
};

// Three unit cells of the 0.25-second wind set do not fit their quantity:
// "m/s" over two wind directions, and over the gust that the other set gives
// in 0.1 m/s. The table keeps these values as stored.
constexpr Decoding kSpeedUnitOverDirection = unclear("unit cell m/s over a wind direction");
constexpr Decoding kSpeedUnitOverGust =
    unclear("unit cell m/s over a gust that the other wind set gives in 0.1m/s");

// Station block, at image offsets.
constexpr Field kStationBlock[] = {
    {14, kU16, "機関番号", ""},
    {16, kU16, "地点番号(上２桁)", ""},
    {18, kS32, "地点番号(下３桁)", ""},
    {22, kU16, "観測所種別", ""},
    {24, kS32, "緯度※１", "度+0.1分", degreesFromNote(kNotes[1])},
    {28, kS32, "経度※１", "度+0.1分", degreesFromNote(kNotes[1])},
    {32, kU16, "標高※２", "0.1m", fromNote(kNotes[2], 20000, 10, "m")},
    {34, kU16, "年", ""},
    {36, kU16, "月", ""},
    {38, kU16, "日", ""},
};

// One observation row, at offsets within the row.
constexpr Field kFields[] = {
    // Wind.
    {0, kS32, "CW風向の最大値", "度"},
    {4, kS32, "CCW風向の最大値", "度"},
    {8, kS32, "10秒間の最大瞬間風速", "0.1m/s", scaled(10, "m/s")},
    {12, kS32, "10秒間の最大瞬間風速時の風向(360度)", ""},
    {16, kS32, "10秒間の最小瞬間風速", "0.1m/s", scaled(10, "m/s")},
    {20, kS32, "風程カウンタ", ""},
    {24, kS32, "10秒間積算風向ベクトルX成分※３", "m/s", fromNote(kNotes[3], 50000, 1000, "m/s")},
    {28, kS32, "10秒間積算風向ベクトルY成分※３", "m/s", fromNote(kNotes[3], 50000, 1000, "m/s")},
    // Wind, evaluated from 0.25-second samples.
    {32, kS32, "CW風向の最大値(0.25秒値処理)", "m/s", kSpeedUnitOverDirection},
    {36, kS32, "CCW風向の最大値(0.25秒値処理)", "m/s", kSpeedUnitOverDirection},
    {40, kS32, "10秒間の最大瞬間風速(0.25秒値処理)", "m/s", kSpeedUnitOverGust},
    {44, kS32, "10秒間の最大瞬間風速時の(0.25秒値処理)風向(360度)", ""},
    {48, kS32, "10秒間の最小瞬間風速(0.25秒値処理)", "0.1m/s", scaled(10, "m/s")},
    {52, kS32, "風程カウンタ(0.25秒値処理)", ""},
    {56, kS32, "10秒間積算風向ベクトルX成分(0.25秒値処理)※３", "",
     fromNote(kNotes[3], 50000, 1000, "")},
    {60, kS32, "10秒間積算風向ベクトルY成分(0.25秒値処理)※３", "",
     fromNote(kNotes[3], 50000, 1000, "")},
    // Solar radiation: two sets of sensor output, angles and housing temperature,
    // then the direct and global radiation of the preceding ten seconds.
    {64, kS32, "出力電位１", "mV"},
    {68, kS32, "方位角１", ""},
    {72, kS32, "高度角１", ""},
    {76, kS32, "機械温度１", "℃"},
    {80, kS32, "出力電位２", "mV"},
    {84, kS32, "方位角２", ""},
    {88, kS32, "", ""},  // the sheet leaves this column unlabelled
    {92, kS32, "機械温度２", "℃"},
    {96, kS32, "前10秒間直達日射量", "KJ/㎡"},
    {100, kS32, "前10秒間全天日射量", "KJ/㎡"},
    // Air temperature.
    {104, kS32, "気温※４", "℃", fromNote(kNotes[4], 500, 10, "℃")},
    // Sunshine flags.
    {108, kS8, "日照フラグ１", ""},
    {109, kS8, "日照フラグ２", ""},
    // Snow.
    {110, kS32, "雪面までの距離", "cm"},
    // Air pressure.
    {114, kS32, "現地気圧", "hPa"},
    // Humidity.
    {118, kS32, "湿度", "%"},
    // Visibility and present weather.
    {122, kS32, "視程(10分平均)", "Km"},
    {126, kS32, "15分現在天気", ""},
    // Housekeeping words, one per sensor group and one for the station unit.
    {130, kS32, "雨", ""},
    {134, kS32, "風", ""},
    {138, kS32, "風(0.25)", ""},
    {142, kS32, "気温", ""},
    {146, kS32, "日照", ""},
    {150, kS32, "日射（特）※５", "", describedBy(kNotes[5])},
    {154, kS32, "積雪", ""},
    {158, kS32, "湿度", ""},
    {162, kS32, "気圧", ""},
    {166, kS32, "視程", ""},
    {170, kS32, "日射※６", "", describedBy(kNotes[6])},
    {174, kS32, "装置", ""},
};

constexpr Group kGroups[] = {
    {"地点情報", 10}, {"風", 16},  {"日射", 10}, {"気温", 1}, {"日照", 2},
    {"積雪", 1},      {"気圧", 1}, {"湿度", 1},  {"視程", 2}, {"HK", 12},
};

static_assert(layoutIsContiguous(kStationBlock, kStationBlockBegin, kStationBlockEnd));
static_assert(scaledUnitsAreDecoded(kStationBlock));
static_assert(countFields(kStationBlock, kU16) == 7);
static_assert(countFields(kStationBlock, kS32) == 3);
static_assert(countFields(kStationBlock, kS8) == 0);
static_assert(layoutIsContiguous(kFields, kRecordSize));
static_assert(scaledUnitsAreDecoded(kFields));
static_assert(countFields(kFields, kU16) == 0);
static_assert(countFields(kFields, kS32) == 44);
static_assert(countFields(kFields, kS8) == 2);
static_assert(totalSpan(kGroups) == std::size(kStationBlock) + std::size(kFields));
static_assert(std::size(kStationBlock) + std::size(kFields) == 56);
static_assert(kFirstRecordOffset < kStationBlockEnd);  // the overlap described above

}  // namespace sfc_10sec_2008

constexpr RecordFormat kSfc10Sec2008Format = {
    .stationBlock = sfc_10sec_2008::kStationBlock,
    .fields = sfc_10sec_2008::kFields,
    .writeCells = writeRecordCells<sfc_10sec_2008::kFields>,
    .writeTableCells = writeTableCells<sfc_10sec_2008::kFields>,
    .recordSize = sfc_10sec_2008::kRecordSize,
    .recordCount = sfc_10sec_2008::kRecordCount,
    .firstRecordOffset = sfc_10sec_2008::kFirstRecordOffset,
    .groups = sfc_10sec_2008::kGroups,
    .notes = sfc_10sec_2008::kNotes,
};

static_assert(layoutSize(kSfc10Sec2008Format) == 1'537'946);

}  // namespace fenmarq
