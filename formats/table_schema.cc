#include "formats/table_schema.h"

#include <cstdio>
#include <string_view>

#include "formats/data_table.h"
#include "formats/decoding.h"

namespace fenmarq {
namespace {

// Python's and the Table Schema's strptime directives; %z accepts "+09:00".
constexpr std::string_view kTimeFormat = "%Y-%m-%dT%H:%M:%S%z";

std::string_view typeName(ColumnType type) {
  switch (type) {
    case ColumnType::kString:
      return "string";
    case ColumnType::kInteger:
      return "integer";
    case ColumnType::kNumber:
      return "number";
    case ColumnType::kDateTime:
      return "datetime";
  }
  return "any";
}

std::string_view storedTypeName(FieldType type) {
  switch (type) {
    case FieldType::kU16:
      return "u16";
    case FieldType::kS32:
      return "s32";
    case FieldType::kS8:
      return "s8";
  }
  return "";
}

std::string_view encodingName(Encoding encoding) {
  switch (encoding) {
    case Encoding::kAsStored:
      return "as-stored";
    case Encoding::kLinear:
      return "linear";
    case Encoding::kDegreesAndTenthMinutes:
      return "degrees-and-tenth-minutes";
    case Encoding::kUnclear:
      return "unclear";
  }
  return "";
}

// What the columns without a field hold.
std::string_view descriptionOf(const TableColumn& column) {
  if (column.name == "file") return "the day file's name";
  if (column.name == "record") return "the record's index in its file, from 0";
  if (column.name == "time") {
    return "the record's own time stamp, Japan Standard Time (24:00 as the next day's 00:00); "
           "empty where its fields are all zero or name no calendar time";
  }
  return "";
}

void appendJsonString(std::string_view text, std::string& out) {
  out.push_back('"');
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out.append(escaped);
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
}

// Writes `"key": ` and the value, after a comma unless it is the first.
class JsonObject {
 public:
  explicit JsonObject(std::string& out) : out_(out) { out_.push_back('{'); }
  ~JsonObject() { out_.push_back('}'); }
  JsonObject& text(std::string_view key, std::string_view value) {
    appendJsonString(value, this->key(key));
    return *this;
  }
  JsonObject& number(std::string_view key, long long value) {
    this->key(key).append(std::to_string(value));
    return *this;
  }
  JsonObject& boolean(std::string_view key, bool value) {
    this->key(key).append(value ? "true" : "false");
    return *this;
  }
  // The key; the caller writes its value.
  std::string& key(std::string_view key) {
    if (!first_) out_.append(", ");
    first_ = false;
    appendJsonString(key, out_);
    out_.append(": ");
    return out_;
  }

 private:
  std::string& out_;
  bool first_ = true;
};

void appendField(const TableColumn& column, bool asciiNames, std::string& out) {
  JsonObject field(out);
  field.text("name", asciiNames ? column.asciiName : column.name)
      .text("title", column.title)
      .text("type", typeName(column.type))
      .text("unit", column.unit);
  if (column.type == ColumnType::kDateTime) field.text("format", kTimeFormat);
  if (const std::string_view description = descriptionOf(column); !description.empty()) {
    field.text("description", description);
  }
  if (column.field == nullptr) return;
  const Field& f = *column.field;
  {
    JsonObject raw(field.key("rawField"));
    raw.number("column", static_cast<long long>(column.sheetColumn))
        .text("label", f.label)
        .text("unit", f.unit)
        .text("type", storedTypeName(f.type))
        .boolean("stationBlock", column.fromStationBlock);
  }
  const Decoding& decoding = f.decoding;
  field.text("encoding", encodingName(decoding.encoding));
  if (decoding.encoding == Encoding::kLinear) {
    field.number("offset", decoding.offset).number("scale", decoding.scale);
  }
  if (isDecoded(decoding)) field.boolean("decoded", column.decoded);
  if (!decoding.note.empty()) field.text("note", decoding.note);
  if (!decoding.doubt.empty()) field.text("doubt", decoding.doubt);
}

}  // namespace

std::string tableSchemaJson(const DataTable& table, bool asciiNames) {
  std::string out;
  {
    JsonObject schema(out);
    schema.text("description",
                table.raw() ? "Stored integers, as the sheet holds them. A linear field's "
                              "physical value is (stored - offset) / scale, in the unit of its "
                              "unit cell without the cell's factor (metres for 0.1m)."
                            : "Physical values: a linear field's value is (stored - offset) / "
                              "scale, in its unit. Columns with encoding unclear or as-stored "
                              "hold the stored integer.");
    std::string& fields = schema.key("fields");
    fields.append("[\n");
    bool first = true;
    for (const TableColumn& column : table.columns()) {
      if (!first) fields.append(",\n");
      first = false;
      fields.append("  ");
      appendField(column, asciiNames, fields);
    }
    fields.append("\n]");
    schema.key("missingValues").append("[\"\"]");
  }
  out.push_back('\n');
  return out;
}

std::string columnDescriptionCsv(const DataTable& table) {
  std::string out =
      "name,ascii_name,title,type,unit,format,sheet_column,sheet_label,sheet_unit,stored_as,"
      "encoding,offset,scale,decoded,note,doubt\n";
  for (const TableColumn& column : table.columns()) {
    const auto cell = [&](std::string_view text) {
      appendCsvField(text, out);
      out.push_back(',');
    };
    cell(column.name);
    cell(column.asciiName);
    cell(column.title);
    cell(typeName(column.type));
    cell(column.unit);
    cell(column.type == ColumnType::kDateTime ? kTimeFormat : "");
    if (column.field == nullptr) {
      out.append(",,,,,,,,");  // sheet_column to decoded
      cell(descriptionOf(column));
      out.append("\n");  // no doubt
      continue;
    }
    const Field& f = *column.field;
    const Decoding& decoding = f.decoding;
    const bool linear = decoding.encoding == Encoding::kLinear;
    cell(std::to_string(column.sheetColumn));
    cell(f.label);
    cell(f.unit);
    cell(storedTypeName(f.type));
    cell(encodingName(decoding.encoding));
    cell(linear ? std::to_string(decoding.offset) : "");
    cell(linear ? std::to_string(decoding.scale) : "");
    cell(isDecoded(decoding) ? (column.decoded ? "true" : "false") : "");
    cell(decoding.note);
    cell(decoding.doubt);
    out.back() = '\n';
  }
  return out;
}

}  // namespace fenmarq
