#include "common/cell_block.h"

#include <algorithm>

#include "files/text_decoding.h"

namespace orcalc {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string Unquoted(std::string_view field) {
  if (field.size() < 2 || field.front() != '"' || field.back() != '"') return std::string(field);
  std::string out;
  for (std::size_t i = 1; i + 1 < field.size(); ++i) {
    out.push_back(field[i]);
    if (field[i] == '"' && field[i + 1] == '"' && i + 2 < field.size()) ++i;
  }
  return out;
}

}  // namespace

std::string BlockText(const Sheet& sheet, int top, int left, int bottom, int right) {
  std::string out;
  for (int r = top; r <= bottom; ++r) {
    if (r > top) out += "\r\n";
    for (int c = left; c <= right; ++c) {
      if (c > left) out.push_back('\t');
      out += sheet.Cell(r, c);
    }
  }
  return out;
}

std::vector<std::vector<std::string>> ParseBlockText(std::string_view text) {
  std::vector<std::vector<std::string>> rows;
  const char separator = text.find('\t') != std::string_view::npos ? '\t' : ',';
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    std::vector<std::string> fields;
    std::size_t from = 0;
    while (true) {
      const std::size_t at = line.find(separator, from);
      fields.push_back(Unquoted(line.substr(from, at == std::string_view::npos ? at : at - from)));
      if (at == std::string_view::npos) break;
      from = at + 1;
    }
    rows.push_back(std::move(fields));
    // CR LF, LF or CR ends the row.
    start = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
  }
  return rows;
}

std::optional<std::string> PastedNumberText(std::string_view text) {
  text = Trimmed(text);
  int points = 0;
  int minuses = 0;
  for (char c : text) {
    if (c == '.')
      ++points;
    else if (c == '-')
      ++minuses;
    else if (c < '0' || c > '9')
      return std::nullopt;
  }
  if (points > 1 || minuses > 1) return std::nullopt;
  std::string stored(text);
  if (stored.starts_with('.')) return "0" + stored;
  if (stored.ends_with('.')) return stored + "0";
  return stored;
}

std::optional<std::string> PastedSignText(std::string_view text) {
  if (Trimmed(text).empty()) return std::string();
  std::string sign = PlainSignText(text);
  if (sign.empty()) return std::nullopt;
  return sign;
}

}  // namespace orcalc
