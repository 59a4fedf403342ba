#include "common/csv_figures.h"

#include "common/number_text.h"

namespace orcalc {

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    quoted.append(1, c);
    if (c == '"') quoted.append(1, c);
  }
  return quoted.append("\"");
}

CsvFigureWriter::CsvFigureWriter() : text_("figure,value\n") {}

std::size_t CsvFigureWriter::Enter(std::string_view key) {
  const std::size_t before = path_.size();
  if (levels_.empty()) return before;
  Level& level = levels_.back();
  ++level.items;
  if (!path_.empty()) path_.append(".");
  if (level.array) {
    path_.append(std::to_string(level.items));
  } else {
    path_.append(key);
  }
  return before;
}

void CsvFigureWriter::Record(std::string_view key, std::string_view value) {
  const std::size_t before = Enter(key);
  text_.append(CsvField(path_)).append(",").append(CsvField(value)).append("\n");
  path_.resize(before);
}

void CsvFigureWriter::BeginObject(std::string_view key) {
  const std::size_t before = Enter(key);
  levels_.push_back({false, 0, before});
}

void CsvFigureWriter::BeginArray(std::string_view key) {
  const std::size_t before = Enter(key);
  levels_.push_back({true, 0, before});
}

void CsvFigureWriter::EndObject() {
  path_.resize(levels_.back().path_size);
  levels_.pop_back();
}

void CsvFigureWriter::EndArray() { EndObject(); }

void CsvFigureWriter::Number(std::string_view key, double value) {
  Record(key, RoundTripNumber(value));
}

void CsvFigureWriter::Text(std::string_view key, std::string_view value) { Record(key, value); }

void CsvFigureWriter::Flag(std::string_view key, bool value) {
  Record(key, value ? "true" : "false");
}

void CsvFigureWriter::Null(std::string_view key) { Record(key, ""); }

std::string CsvFigureWriter::Take() { return std::move(text_); }

}  // namespace orcalc
