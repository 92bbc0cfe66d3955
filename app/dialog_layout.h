// The main window's layout, written once for both windows: the resource
// script of the native Windows dialog expands it into its dialog template,
// and the Qt window reads it as a table. Plain preprocessor text, so that the
// resource compiler can read it too; the Win32 styles of each kind of
// control are the resource script's.
#ifndef FENMARQ_APP_DIALOG_LAYOUT_H_
#define FENMARQ_APP_DIALOG_LAYOUT_H_

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#define IDC_LOG 1000
#define IDC_START 1023
#define IDC_SBIN 1132
#define IDC_TARGETLIST 1133
#define IDC_SEARCH 1134
#define IDC_ADDTARGET 1135
#define IDC_DELETE 1136
#define IDC_FILENAME 1137
#define IDC_KIND 1138
#define IDC_INTERVAL 1139
#define IDC_YEAR 1140
#define IDC_MONTHDAY 1141
#define IDC_STATION 1142

// The client area in dialog units.
#define FENMARQ_MAIN_DIALOG_WIDTH 510
#define FENMARQ_MAIN_DIALOG_HEIGHT 357

// CONTROL(kind, id, text, x, y, width, height) for every control, in tab
// order, which is also the order of creation; places in dialog units. The
// kinds: Log, the conversion log; Edit, a one-line field; Button; List, the
// target list, which takes dropped files; Text, an explanation, where "\n"
// breaks a line and the backslashes in front of CSVFiles and HEXFiles are
// part of the text.
#define FENMARQ_MAIN_DIALOG_CONTROLS(CONTROL)                                                           \
  CONTROL(Log, IDC_LOG, "", 15, 140, 301, 202)                                                          \
  CONTROL(Edit, IDC_SBIN, "", 372, 26, 110, 14)                                                         \
  CONTROL(Button, IDC_ADDTARGET, "上のファイルを変換対象とする", 370, 47, 110, 17)                      \
  CONTROL(List, IDC_TARGETLIST, "", 370, 65, 110, 106)                                                  \
  CONTROL(Button, IDC_DELETE, "削除", 481, 65, 22, 42)                                                  \
  CONTROL(Button, IDC_SEARCH, "ファイル検索", 388, 7, 71, 13)                                           \
  CONTROL(Button, IDC_START, "変換開始", 382, 178, 84, 18)                                              \
  CONTROL(Text, IDC_STATIC, "１．右上の”ファイル検索”で変換するファイルを見つける。", 20, 54, 261,      \
          14)                                                                                           \
  CONTROL(Edit, IDC_FILENAME, "", 205, 7, 157, 14)                                                      \
  CONTROL(Edit, IDC_KIND, "", 205, 25, 28, 14)                                                          \
  CONTROL(Edit, IDC_INTERVAL, "", 234, 25, 28, 14)                                                      \
  CONTROL(Edit, IDC_YEAR, "", 265, 25, 34, 14)                                                          \
  CONTROL(Edit, IDC_MONTHDAY, "", 301, 25, 28, 14)                                                      \
  CONTROL(Edit, IDC_STATION, "", 331, 25, 32, 14)                                                       \
  CONTROL(Text, IDC_STATIC,                                                                             \
          "気象庁の風データ(バイナリデータ)を\nCSVファイルに変換します\n（エクセルで読めます。）",      \
          22, 7, 114, 27)                                                                               \
  CONTROL(Text, IDC_STATIC,                                                                             \
          "変換後は、サブフォルダ\n\n\\CSVFiles\n\\HEXFiles\n\nに保存されます。\n\n" \
          "同名ファイルは上書きされます。",                                                             \
          385, 210, 94, 75)                                                                             \
  CONTROL(Text, IDC_STATIC, "２．”上のファイルを変換対象とする”をクリックする。", 20, 73, 261, 14)      \
  CONTROL(Text, IDC_STATIC, "３．”変換開始”をクリックする。", 20, 91, 261, 14)                          \
  CONTROL(Text, IDC_STATIC,                                                                             \
          "４．サブファルダにCSVファイルと１６進表示のテキストファイルができます。", 20, 112, 261,      \
          14)

#ifndef RC_INVOKED

namespace fenmarq {

enum class ControlKind { kLog, kEdit, kButton, kList, kText };

struct DialogControl {
  ControlKind kind;
  const char* id;    // the identifier's name, such as "IDC_LOG"
  const char* text;  // UTF-8
  int x, y, width, height;
};

inline constexpr int kMainDialogWidth = FENMARQ_MAIN_DIALOG_WIDTH;
inline constexpr int kMainDialogHeight = FENMARQ_MAIN_DIALOG_HEIGHT;

#define FENMARQ_DIALOG_CONTROL(kind, id, text, x, y, width, height) \
  DialogControl{ControlKind::k##kind, #id, text, x, y, width, height},
inline constexpr DialogControl kMainDialogControls[] = {
    FENMARQ_MAIN_DIALOG_CONTROLS(FENMARQ_DIALOG_CONTROL)};
#undef FENMARQ_DIALOG_CONTROL

}  // namespace fenmarq

#endif  // RC_INVOKED

#endif  // FENMARQ_APP_DIALOG_LAYOUT_H_
