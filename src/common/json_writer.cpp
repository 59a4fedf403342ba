#include "common/json_writer.h"

#include <cmath>

#include "common/number_text.h"

namespace orcalc {

std::string JsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted.append(1, '\\').append(1, c);
    } else if (c == '\n') {
      quoted.append("\\n");
    } else if (c == '\r') {
      quoted.append("\\r");
    } else if (c == '\t') {
      quoted.append("\\t");
    } else if (byte < 0x20) {
      quoted.append("\\u00").append(1, kHex[byte >> 4]).append(1, kHex[byte & 15]);
    } else {
      quoted.append(1, c);
    }
  }
  return quoted.append("\"");
}

void JsonWriter::Indent(std::size_t depth) {
  text_.append("\n");
  text_.append(2 * depth, ' ');
}

void JsonWriter::StartItem(std::string_view key, bool container) {
  if (levels_.empty()) return;
  Level& level = levels_.back();
  const bool first = level.items++ == 0;
  if (level.array && !container) {
    if (!first) text_.append(level.nested ? "," : ", ");
    if (level.nested) Indent(levels_.size());
    return;
  }
  if (!first) text_.append(",");
  if (level.array) level.nested = true;
  Indent(levels_.size());
  if (!level.array) text_.append(JsonString(key)).append(": ");
}

void JsonWriter::Close(char bracket) {
  const Level level = levels_.back();
  levels_.pop_back();
  if (level.array ? level.nested : level.items > 0) Indent(levels_.size());
  text_.append(1, bracket);
}

void JsonWriter::BeginObject(std::string_view key) {
  StartItem(key, true);
  text_.append("{");
  levels_.push_back({false, 0, false});
}

void JsonWriter::EndObject() { Close('}'); }

void JsonWriter::BeginArray(std::string_view key) {
  StartItem(key, true);
  text_.append("[");
  levels_.push_back({true, 0, false});
}

void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::Number(std::string_view key, double value) {
  StartItem(key, false);
  text_.append(std::isfinite(value) ? RoundTripNumber(value) : "null");
}

void JsonWriter::Text(std::string_view key, std::string_view value) {
  StartItem(key, false);
  text_.append(JsonString(value));
}

void JsonWriter::Flag(std::string_view key, bool value) {
  StartItem(key, false);
  text_.append(value ? "true" : "false");
}

void JsonWriter::Null(std::string_view key) {
  StartItem(key, false);
  text_.append("null");
}

std::string JsonWriter::Take() {
  text_.append("\n");
  return std::move(text_);
}

}  // namespace orcalc
