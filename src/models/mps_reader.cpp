#include "models/mps_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace orcalc::models {
namespace {

// Magnitudes from here on stand for infinity in RHS, RANGES and BOUNDS.
constexpr double kInfiniteFrom = 1e30;

enum class Section { None, Name, ObjSense, Rows, Columns, Rhs, Ranges, Bounds, End };

using Tokens = std::vector<std::string_view>;

Tokens FreeTokens(std::string_view line) {
  Tokens tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The fixed form's six fields (columns 2-3, 5-12, 15-22, 25-36, 40-47,
// 50-61), blanks around them removed; a field from the third on that
// starts with "$" starts a comment, which runs to the end of the line.
std::array<std::string_view, 6> FixedFields(std::string_view line) {
  static constexpr std::size_t kFields[][2] = {{1, 3},   {4, 12},  {14, 22},
                                               {24, 36}, {39, 47}, {49, 61}};
  std::array<std::string_view, 6> fields;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const auto [begin, end] = kFields[k];
    if (begin >= line.size()) break;
    fields[k] = Trimmed(line.substr(begin, end - begin));
    if (k >= 2 && fields[k].starts_with("$")) {
      fields[k] = {};
      break;
    }
  }
  return fields;
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

double Infinite(double value) {
  if (value >= kInfiniteFrom) return kInfinity;
  if (value <= -kInfiniteFrom) return -kInfinity;
  return value;
}

constexpr int kObjectiveRow = -1;
constexpr int kDroppedRow = -2;

class MpsReader {
 public:
  explicit MpsReader(std::string_view file_name) : file_(file_name) {}

  ModelReadResult Read(std::string_view text);

 private:
  bool Header(std::string_view line);
  // A data line of the current section; false, with error_ set, when it
  // cannot be read. Nothing is changed then.
  bool Data(const Tokens& tokens);
  bool RowLine(const Tokens& tokens);
  bool ColumnLine(const Tokens& tokens);
  bool RhsOrRangeLine(const Tokens& tokens, bool range);
  bool BoundLine(const Tokens& tokens);
  bool SenseLine(std::string_view word);
  bool SetName(std::optional<std::string>& set, std::string_view name, std::string_view section);
  // The fixed form's fields as the free form's tokens: the empty ones
  // left out, and in COLUMNS an empty name standing for the last column.
  Tokens FixedTokens(std::string_view line) const;
  bool Fail(std::string what) {
    error_ = std::move(what);
    return false;
  }
  std::optional<int> RowOf(std::string_view name);
  std::optional<double> Number(std::string_view text);
  void Finish();

  std::string file_;
  LinearModel model_;
  Section section_ = Section::None;
  std::unordered_map<std::string, int> rows_;
  std::unordered_map<std::string, int> columns_;
  std::vector<bool> lower_given_, upper_given_;
  std::string last_column_;
  bool in_integers_ = false;
  bool has_objective_ = false;
  std::optional<std::string> rhs_set_, range_set_, bound_set_;
  std::string error_;
};

Tokens MpsReader::FixedTokens(std::string_view line) const {
  const std::array<std::string_view, 6> fields = FixedFields(line);
  Tokens tokens;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k == 1 && fields[k].empty() && section_ == Section::Columns && !last_column_.empty()) {
      tokens.emplace_back(last_column_);
    } else if (!fields[k].empty()) {
      tokens.push_back(fields[k]);
    }
  }
  return tokens;
}

ModelReadResult MpsReader::Read(std::string_view text) {
  ModelReadResult result;
  long line_number = 0;
  while (!text.empty() && section_ != Section::End) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.starts_with("*") || Trimmed(line).empty()) continue;
    bool read = false;
    if (line[0] != ' ' && line[0] != '\t') {
      read = Header(line);
    } else {
      read = Data(FreeTokens(line));
      if (!read) {
        const std::string free_error = error_;
        read = Data(FixedTokens(line));
        if (!read) error_ = free_error;
      }
    }
    if (read &&
        (model_.variables.size() > kMaxModelEntities || model_.rows.size() > kMaxModelEntities)) {
      read = Fail(TooManyEntities());
    }
    if (!read) {
      result.line = line_number;
      result.error = ModelError(file_, line_number, error_);
      return result;
    }
  }
  if (section_ != Section::End) {
    result.error = ModelError(file_, 0, "文件在 ENDATA 之前就结束了");
    return result;
  }
  Finish();
  result.ok = true;
  result.model = std::move(model_);
  return result;
}

bool MpsReader::Header(std::string_view line) {
  const Tokens tokens = FreeTokens(line);
  const std::string word = Upper(tokens.front());
  static const std::pair<const char*, Section> kSections[] = {
      {"NAME", Section::Name},       {"OBJSENSE", Section::ObjSense}, {"ROWS", Section::Rows},
      {"COLUMNS", Section::Columns}, {"RHS", Section::Rhs},           {"RANGES", Section::Ranges},
      {"BOUNDS", Section::Bounds},   {"ENDATA", Section::End}};
  const auto found = std::find_if(std::begin(kSections), std::end(kSections),
                                  [&](const auto& entry) { return word == entry.first; });
  if (found == std::end(kSections))
    return Fail(std::string("不认识的段“") + std::string(tokens.front()) + "”");
  section_ = found->second;
  if (section_ == Section::Name && tokens.size() > 1) {
    model_.name = std::string(Trimmed(line.substr(line.find(tokens[1]))));
  }
  if (section_ == Section::ObjSense && tokens.size() > 1) return SenseLine(tokens[1]);
  return true;
}

bool MpsReader::Data(const Tokens& tokens) {
  if (tokens.empty()) return Fail("空的数据行");
  switch (section_) {
    case Section::ObjSense:
      return tokens.size() == 1 ? SenseLine(tokens[0]) : Fail("OBJSENSE 段只写 MAX 或 MIN");
    case Section::Rows:
      return RowLine(tokens);
    case Section::Columns:
      return ColumnLine(tokens);
    case Section::Rhs:
      return RhsOrRangeLine(tokens, false);
    case Section::Ranges:
      return RhsOrRangeLine(tokens, true);
    case Section::Bounds:
      return BoundLine(tokens);
    default:
      return Fail("数据行不在任何段内（缺少 ROWS、COLUMNS 等段名）");
  }
}

bool MpsReader::SenseLine(std::string_view word) {
  const std::string sense = Upper(word);
  if (sense == "MAX" || sense == "MAXIMIZE" || sense == "MAXIMISE") {
    model_.sense = lp::Sense::Maximise;
  } else if (sense == "MIN" || sense == "MINIMIZE" || sense == "MINIMISE") {
    model_.sense = lp::Sense::Minimise;
  } else {
    return Fail(std::string("OBJSENSE 应为 MAX 或 MIN，而不是“") + std::string(word) + "”");
  }
  return true;
}

bool MpsReader::RowLine(const Tokens& tokens) {
  if (tokens.size() != 2) return Fail("ROWS 段的行应为“类型 行名”两项");
  const std::string type = Upper(tokens[0]);
  const std::string name(tokens[1]);
  if (rows_.contains(name)) return Fail(std::string("行“") + name + "”重复定义");
  if (type == "N") {
    rows_[name] = has_objective_ ? kDroppedRow : kObjectiveRow;
    if (!has_objective_) model_.objective_name = name;
    has_objective_ = true;
    return true;
  }
  ModelRow row;
  row.name = name;
  if (type == "L") {
    row.relation = RowRelation::LessEqual;
  } else if (type == "G") {
    row.relation = RowRelation::GreaterEqual;
  } else if (type == "E") {
    row.relation = RowRelation::Equal;
  } else {
    return Fail(std::string("行的类型应为 N、L、G 或 E，而不是“") + std::string(tokens[0]) + "”");
  }
  rows_[name] = static_cast<int>(model_.rows.size());
  model_.rows.push_back(std::move(row));
  return true;
}

std::optional<int> MpsReader::RowOf(std::string_view name) {
  const auto found = rows_.find(std::string(name));
  if (found == rows_.end()) {
    Fail(std::string("行“") + std::string(name) + "”没有在 ROWS 段中定义");
    return std::nullopt;
  }
  return found->second;
}

std::optional<double> MpsReader::Number(std::string_view text) {
  const std::optional<double> value = ParseModelNumber(text);
  if (!value) Fail(std::string("“") + std::string(text) + "”不是数");
  return value;
}

bool MpsReader::ColumnLine(const Tokens& tokens) {
  if (tokens.size() == 3 && Upper(tokens[1]) == "'MARKER'") {
    const std::string kind = Upper(tokens[2]);
    if (kind != "'INTORG'" && kind != "'INTEND'") {
      return Fail(std::string("MARKER 应为 'INTORG' 或 'INTEND'，而不是") + std::string(tokens[2]));
    }
    in_integers_ = kind == "'INTORG'";
    return true;
  }
  if (tokens.size() != 3 && tokens.size() != 5) {
    return Fail("COLUMNS 段的行应为“变量名 行名 系数”，可再跟一对“行名 系数”");
  }
  std::vector<std::pair<int, double>> entries;
  for (std::size_t k = 1; k + 1 < tokens.size(); k += 2) {
    const std::optional<int> row = RowOf(tokens[k]);
    if (!row) return false;
    const std::optional<double> value = Number(tokens[k + 1]);
    if (!value) return false;
    if (!std::isfinite(*value))
      return Fail(std::string("系数“") + std::string(tokens[k + 1]) + "”不是有限数");
    entries.emplace_back(*row, *value);
  }
  const std::string name(tokens[0]);
  auto [found, added] = columns_.try_emplace(name, static_cast<int>(model_.variables.size()));
  if (added) {
    model_.AddVariable(name);
    lower_given_.push_back(false);
    upper_given_.push_back(false);
  }
  const int column = found->second;
  last_column_ = name;
  if (in_integers_) model_.variables[static_cast<std::size_t>(column)].integer = true;
  for (const auto& [row, value] : entries) {
    if (row == kObjectiveRow) model_.objective[static_cast<std::size_t>(column)] += value;
    if (row >= 0) model_.rows[static_cast<std::size_t>(row)].terms.push_back({column, value});
  }
  return true;
}

bool MpsReader::SetName(std::optional<std::string>& set, std::string_view name,
                        std::string_view section) {
  if (!set) set = std::string(name);
  if (*set == name) return true;
  return Fail(std::string("只能有一组 ") + std::string(section) + "（已有“" + *set + "”，又见“" +
              std::string(name) + "”）");
}

bool MpsReader::RhsOrRangeLine(const Tokens& tokens, bool range) {
  const char* section = range ? "RANGES" : "RHS";
  if (tokens.size() < 2 || tokens.size() > 5) {
    return Fail(std::string(section) + " 段的行应为“[组名] 行名 数值”，可再跟一对“行名 数值”");
  }
  const std::size_t first = tokens.size() % 2;  // an odd count starts with the set's name
  std::vector<std::pair<int, double>> entries;
  for (std::size_t k = first; k + 1 < tokens.size(); k += 2) {
    const std::optional<int> row = RowOf(tokens[k]);
    if (!row) return false;
    const std::optional<double> value = Number(tokens[k + 1]);
    if (!value) return false;
    if (range && *row < 0) return Fail("目标函数行没有范围（RANGES）");
    entries.emplace_back(*row, Infinite(*value));
  }
  if (first == 1 && !SetName(range ? range_set_ : rhs_set_, tokens[0], section)) return false;
  for (const auto& [row, value] : entries) {
    if (row == kObjectiveRow && std::isfinite(value)) model_.constant = -value;
    if (row < 0) continue;
    ModelRow& target = model_.rows[static_cast<std::size_t>(row)];
    if (range) {
      target.range = value;
    } else {
      target.rhs = value;
    }
  }
  return true;
}

// The bound types: whether each takes a value.
struct BoundType {
  const char* name;
  bool takes_value;
};
constexpr BoundType kBoundTypes[] = {{"UP", true},  {"LO", true},  {"FX", true},
                                     {"LI", true},  {"UI", true},  {"FR", false},
                                     {"MI", false}, {"PL", false}, {"BV", false}};

bool MpsReader::BoundLine(const Tokens& tokens) {
  const std::string type = Upper(tokens[0]);
  const auto kind = std::find_if(std::begin(kBoundTypes), std::end(kBoundTypes),
                                 [&](const BoundType& t) { return type == t.name; });
  if (kind == std::end(kBoundTypes)) {
    return Fail(std::string("边界类型应为 UP、LO、FX、FR、MI、PL、BV、LI 或 UI，而不是“") +
                std::string(tokens[0]) + "”");
  }
  // With a value, the line is "type [set] column value"; without one
  // "type [set] column" (BV may carry a value of 1 all the same).
  std::size_t fields = tokens.size();
  const bool bv_value = type == "BV" && fields == 4;
  if (bv_value) --fields;
  const std::size_t plain = kind->takes_value ? 3 : 2;
  if (fields != plain && fields != plain + 1) {
    return Fail(std::string("边界行应为“") + kind->name + " [组名] 变量名" +
                (kind->takes_value ? " 数值”" : "”"));
  }
  const bool has_set = fields == plain + 1;
  const std::string_view column_name = tokens[has_set ? 2 : 1];
  const auto found = columns_.find(std::string(column_name));
  if (found == columns_.end()) {
    return Fail(std::string("变量“") + std::string(column_name) + "”没有在 COLUMNS 段中出现");
  }
  double value = 0;
  if (kind->takes_value) {
    const std::optional<double> number = Number(tokens[has_set ? 3 : 2]);
    if (!number) return false;
    value = Infinite(*number);
  }
  if (has_set && !SetName(bound_set_, tokens[1], "BOUNDS")) return false;
  const auto k = static_cast<std::size_t>(found->second);
  ModelVariable& variable = model_.variables[k];
  const bool sets_lower =
      type == "LO" || type == "LI" || type == "FX" || type == "FR" || type == "MI" || type == "BV";
  const bool sets_upper =
      type == "UP" || type == "UI" || type == "FX" || type == "FR" || type == "PL" || type == "BV";
  if (type == "UP" || type == "UI") {
    // An upper bound below 0 on a variable still at its lower bound of 0
    // makes it unbounded below, as model files have it.
    if (value < 0 && variable.lower == 0 && !lower_given_[k]) variable.lower = -kInfinity;
    variable.upper = value;
  }
  if (type == "LO" || type == "LI") variable.lower = value;
  if (type == "FX") variable.lower = variable.upper = value;
  if (type == "FR") variable.lower = -kInfinity, variable.upper = kInfinity;
  if (type == "MI") variable.lower = -kInfinity;
  if (type == "PL") variable.upper = kInfinity;
  if (type == "BV") variable.lower = 0, variable.upper = 1;
  if (type == "LI" || type == "UI" || type == "BV") variable.integer = true;
  lower_given_[k] = lower_given_[k] || sets_lower;
  upper_given_[k] = upper_given_[k] || sets_upper;
  return true;
}

// An integer variable without bounds of its own is a 0/1 variable.
void MpsReader::Finish() {
  for (std::size_t k = 0; k < model_.variables.size(); ++k) {
    ModelVariable& variable = model_.variables[k];
    if (variable.integer && !lower_given_[k] && !upper_given_[k]) variable.upper = 1;
  }
}

}  // namespace

ModelReadResult ReadMps(std::string_view text, std::string_view file_name) {
  return MpsReader(file_name).Read(text);
}

}  // namespace orcalc::models
