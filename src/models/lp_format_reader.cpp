#include "models/lp_format_reader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <deque>
#include <unordered_map>
#include <vector>

namespace orcalc::models {
namespace {

struct Token {
  enum Kind { Name, Number, Plus, Minus, Colon, Relation, Other };
  Kind kind = Other;
  std::string_view text;
  double value = 0;  // a Number's value
  RowRelation relation = RowRelation::Equal;
  long line = 0;
  bool starts_line = false;
};

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool NameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
         (c != '\0' && std::strchr("!\"#$%&()/,.;?@_`'{}|~[]^", c) != nullptr) ||
         static_cast<unsigned char>(c) >= 0x80;
}

std::size_t NumberLength(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  if (i < text.size() && text[i] == '.') ++i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t digits = j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
    if (j > digits) i = j;
  }
  return i;
}

// The relation at the start of `text` and its length, or 0.
std::size_t RelationLength(std::string_view text, RowRelation& relation) {
  static const std::pair<std::string_view, RowRelation> kRelations[] = {
      {"<=", RowRelation::LessEqual},    {"=<", RowRelation::LessEqual},
      {">=", RowRelation::GreaterEqual}, {"=>", RowRelation::GreaterEqual},
      {"<", RowRelation::LessEqual},     {">", RowRelation::GreaterEqual},
      {"=", RowRelation::Equal}};
  for (const auto& [spelling, meaning] : kRelations) {
    if (text.starts_with(spelling)) {
      relation = meaning;
      return spelling.size();
    }
  }
  return 0;
}

// The next token at text[i] (blanks and comments skipped beforehand).
Token NextToken(std::string_view text, std::size_t& i) {
  Token token;
  const char c = text[i];
  std::size_t length = 1;
  if (std::isdigit(static_cast<unsigned char>(c)) ||
      (c == '.' && NumberLength(text.substr(i)) > 1)) {
    length = NumberLength(text.substr(i));
    token.kind = Token::Number;
    token.value = ParseModelNumber(text.substr(i, length)).value_or(0);
  } else if (c == '+' || c == '-') {
    token.kind = c == '+' ? Token::Plus : Token::Minus;
  } else if (c == ':') {
    token.kind = Token::Colon;
  } else if (const std::size_t r = RelationLength(text.substr(i), token.relation); r > 0) {
    length = r;
    token.kind = Token::Relation;
  } else if (NameChar(c)) {
    while (i + length < text.size() && NameChar(text[i + length])) ++length;
    token.kind = Token::Name;
    const std::string word = Lower(text.substr(i, length));
    if (word == "inf" || word == "infinity") token.kind = Token::Number, token.value = kInfinity;
  }
  token.text = text.substr(i, length);
  i += length;
  return token;
}

// The tokens of a text, made as they are looked at: only the few around
// the reading point are kept, whatever the size of the file.
class TokenStream {
 public:
  explicit TokenStream(std::string_view text) : text_(text) {}

  // The token `ahead` places after the current one, or null at the end.
  // Valid until the current token moves past it.
  const Token* Peek(std::size_t ahead = 0) {
    while (buffer_.size() <= ahead && ReadOne()) {
    }
    return ahead < buffer_.size() ? &buffer_[ahead] : nullptr;
  }
  void Next(std::size_t count = 1) {
    for (; count > 0 && Peek() != nullptr; --count) buffer_.pop_front();
  }
  // The line of the last token read, for a fault at the end of the text.
  long last_line() const { return last_line_; }

 private:
  bool ReadOne() {
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '\n') {
        ++line_, line_start_ = true, ++at_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++at_;
      } else if (c == '\\') {
        while (at_ < text_.size() && text_[at_] != '\n') ++at_;
      } else {
        Token token = NextToken(text_, at_);
        token.line = last_line_ = line_;
        token.starts_line = line_start_;
        line_start_ = false;
        buffer_.push_back(token);
        return true;
      }
    }
    return false;
  }

  std::string_view text_;
  std::size_t at_ = 0;
  long line_ = 1;
  long last_line_ = 0;
  bool line_start_ = true;
  std::deque<Token> buffer_;
};

enum class Section { None, Objective, Constraints, Bounds, Integers, Binaries, End };

struct Linear {
  std::vector<ModelTerm> terms;
  double constant = 0;
};

class LpReader {
 public:
  LpReader(std::string_view text, std::string_view file_name) : tokens_(text), file_(file_name) {}

  ModelReadResult Read();

 private:
  // The section a keyword at the current token opens (consumed), if one does.
  std::optional<Section> SectionHere();
  bool Objective();
  bool Constraint();
  bool Bound();
  bool IntegerName(bool binary);
  // Terms and constants up to a relation, a new line's label or section,
  // or the end; after the first term every term needs its sign. With
  // `one_line`, the line ends the expression once a term is read.
  bool Expression(Linear& out, bool one_line);
  bool SignedNumber(double& value);
  bool LabelHere();
  int Variable(std::string_view name);
  const Token* Peek(std::size_t ahead = 0) { return tokens_.Peek(ahead); }
  bool Fail(std::string what) {
    const Token* at = Peek();
    line_ = at != nullptr ? at->line : tokens_.last_line();
    error_ = std::move(what);
    return false;
  }
  bool FailAtToken(std::string_view what) {
    const Token* at = Peek();
    return Fail(std::string(what) + (at == nullptr
                                         ? "，但文件已结束"
                                         : std::string("，而不是“") + std::string(at->text) + "”"));
  }

  TokenStream tokens_;
  std::string file_;
  LinearModel model_;
  std::unordered_map<std::string, int> variables_;
  std::unordered_map<std::string, int> row_names_;
  std::string error_;
  long line_ = 0;
};

const std::pair<const char*, Section> kSectionWords[] = {
    {"minimize", Section::Objective},  {"minimise", Section::Objective},
    {"minimum", Section::Objective},   {"min", Section::Objective},
    {"maximize", Section::Objective},  {"maximise", Section::Objective},
    {"maximum", Section::Objective},   {"max", Section::Objective},
    {"subject", Section::Constraints}, {"such", Section::Constraints},
    {"st", Section::Constraints},      {"s.t.", Section::Constraints},
    {"st.", Section::Constraints},     {"bounds", Section::Bounds},
    {"bound", Section::Bounds},        {"general", Section::Integers},
    {"generals", Section::Integers},   {"gen", Section::Integers},
    {"integer", Section::Integers},    {"integers", Section::Integers},
    {"binary", Section::Binaries},     {"binaries", Section::Binaries},
    {"bin", Section::Binaries},        {"end", Section::End}};

bool IsSectionWord(const Token& token) {
  if (!token.starts_line || token.kind != Token::Name) return false;
  const std::string word = Lower(token.text);
  return std::any_of(std::begin(kSectionWords), std::end(kSectionWords),
                     [&](const auto& entry) { return word == entry.first; }) ||
         word == "semi-continuous" || word == "semis" || word == "semi" || word == "sos";
}

std::optional<Section> LpReader::SectionHere() {
  const Token* token = Peek();
  if (token == nullptr || !IsSectionWord(*token)) return std::nullopt;
  const std::string word = Lower(token->text);
  const auto found = std::find_if(std::begin(kSectionWords), std::end(kSectionWords),
                                  [&](const auto& entry) { return word == entry.first; });
  if (found == std::end(kSectionWords)) {
    Fail(std::string("不支持“") + std::string(token->text) + "”段（半连续变量、SOS）");
    return Section::None;
  }
  tokens_.Next();
  if (word == "subject" || word == "such") {
    const Token* next = Peek();
    const char* second = word == "subject" ? "to" : "that";
    if (next == nullptr || Lower(next->text) != second) {
      Fail(std::string("“") + word + "”之后应为“" + second + "”");
      return Section::None;
    }
    tokens_.Next();
  }
  if (found->second == Section::Objective) {
    model_.sense = word.starts_with("max") ? lp::Sense::Maximise : lp::Sense::Minimise;
  }
  return found->second;
}

bool LpReader::LabelHere() {
  const Token* name = Peek();
  const Token* colon = Peek(1);
  return name != nullptr && colon != nullptr && name->kind == Token::Name &&
         colon->kind == Token::Colon;
}

int LpReader::Variable(std::string_view name) {
  const auto [found, added] =
      variables_.try_emplace(std::string(name), static_cast<int>(model_.variables.size()));
  if (added) model_.AddVariable(std::string(name));
  return found->second;
}

bool LpReader::Expression(Linear& out, bool one_line) {
  bool first = true;
  for (const Token* token = Peek(); token != nullptr; token = Peek()) {
    if (IsSectionWord(*token) || LabelHere() || token->kind == Token::Relation) break;
    if (one_line && !first && token->starts_line) break;
    double sign = 1;
    bool signed_term = false;
    for (; token != nullptr && (token->kind == Token::Plus || token->kind == Token::Minus);
         token = Peek()) {
      sign = token->kind == Token::Minus ? -sign : sign;
      signed_term = true;
      tokens_.Next();
    }
    if (!first && !signed_term) break;  // the next row, without a label
    if (token == nullptr) return FailAtToken("符号之后应为变量名或数");
    double coefficient = 1;
    if (token->kind == Token::Number) {
      coefficient = token->value;
      tokens_.Next();
      const Token* name = Peek();
      const bool term = name != nullptr && name->kind == Token::Name && !IsSectionWord(*name) &&
                        !LabelHere() && !(one_line && name->starts_line);
      if (!term) {
        out.constant += sign * coefficient;
        first = false;
        continue;
      }
      token = name;
    }
    if (token->kind != Token::Name) return FailAtToken("应为变量名或数");
    if (!std::isfinite(coefficient)) return Fail("变量的系数不能是无穷大");
    out.terms.push_back({Variable(token->text), sign * coefficient});
    if (model_.variables.size() > kMaxModelEntities) return Fail(TooManyEntities());
    tokens_.Next();
    first = false;
  }
  return true;
}

bool LpReader::Objective() {
  if (LabelHere()) {
    model_.objective_name = std::string(Peek()->text);
    tokens_.Next(2);
  }
  Linear objective;
  if (!Expression(objective, false)) return false;
  if (const Token* next = Peek(); next != nullptr && !IsSectionWord(*next)) {
    return FailAtToken("目标函数之后应为“subject to”");
  }
  if (!std::isfinite(objective.constant)) return Fail("目标函数的常数项不能是无穷大");
  for (const ModelTerm& term : objective.terms)
    model_.objective[static_cast<std::size_t>(term.variable)] += term.coefficient;
  model_.constant += objective.constant;
  return true;
}

bool LpReader::Constraint() {
  ModelRow row;
  if (LabelHere()) {
    row.name = std::string(Peek()->text);
    tokens_.Next(2);
  } else {
    // An unnamed row is named by its place: R1, R2, ...
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, model_.rows.size() + 1).ptr;
    row.name = 'R';
    row.name.append(digits, static_cast<std::size_t>(end - digits));
  }
  if (!row_names_.try_emplace(row.name, 0).second)
    return Fail(std::string("约束“") + row.name + "”重复定义");
  Linear left, right;
  if (!Expression(left, false)) return false;
  const Token* relation = Peek();
  if (relation == nullptr || relation->kind != Token::Relation) {
    return FailAtToken(std::string("约束“") + row.name + "”缺少关系符号（<=、>=、=）");
  }
  const RowRelation first_relation = relation->relation;
  row.relation = first_relation;
  tokens_.Next();
  if (!Expression(right, true)) return false;
  const Token* second = Peek();
  if (second != nullptr && second->kind == Token::Relation && !second->starts_line) {
    // "low <= terms <= high" (or "high >= terms >= low"): a range.
    const RowRelation second_relation = second->relation;
    Linear last;
    tokens_.Next();
    if (!left.terms.empty() || !Expression(last, true) || !last.terms.empty() ||
        second_relation != first_relation || first_relation == RowRelation::Equal)
      return Fail(std::string("约束“") + row.name + "”的两个关系符号应同向，且两端都是常数");
    const bool up = first_relation == RowRelation::LessEqual;
    const double low = (up ? left.constant : last.constant) - right.constant;
    const double high = (up ? last.constant : left.constant) - right.constant;
    if (!(low <= high)) return Fail(std::string("约束“") + row.name + "”的下限大于上限");
    row.relation = RowRelation::LessEqual;
    row.rhs = high;
    row.range = high - low;
    row.terms = std::move(right.terms);
    model_.rows.push_back(std::move(row));
    return true;
  }
  for (ModelTerm term : right.terms) row.terms.push_back({term.variable, -term.coefficient});
  row.terms.insert(row.terms.begin(), left.terms.begin(), left.terms.end());
  row.rhs = right.constant - left.constant;
  model_.rows.push_back(std::move(row));
  return true;
}

bool LpReader::SignedNumber(double& value) {
  double sign = 1;
  for (const Token* token = Peek();
       token != nullptr && (token->kind == Token::Plus || token->kind == Token::Minus);
       token = Peek()) {
    sign = token->kind == Token::Minus ? -sign : sign;
    tokens_.Next();
  }
  const Token* number = Peek();
  if (number == nullptr || number->kind != Token::Number) return false;
  value = sign * number->value;
  tokens_.Next();
  return true;
}

// "x free", "x REL v", "v REL x" or "v REL x REL w" (v, w numbers or
// ±inf).
bool LpReader::Bound() {
  double first = 0;
  const bool number_first = SignedNumber(first);
  const Token* relation = number_first ? Peek() : nullptr;
  const RowRelation first_relation = relation != nullptr ? relation->relation : RowRelation::Equal;
  if (number_first && (relation == nullptr || relation->kind != Token::Relation))
    return FailAtToken("边界中数之后应为关系符号");
  if (number_first) tokens_.Next();
  const Token* name = Peek();
  if (name == nullptr || name->kind != Token::Name || IsSectionWord(*name))
    return FailAtToken("边界中应为变量名");
  ModelVariable& variable = model_.variables[static_cast<std::size_t>(Variable(name->text))];
  tokens_.Next();
  auto apply = [&variable](RowRelation r, double v, bool variable_left) {
    const bool upper = (r == RowRelation::LessEqual) == variable_left;
    if (r == RowRelation::Equal || !upper) variable.lower = v;
    if (r == RowRelation::Equal || upper) variable.upper = v;
  };
  if (number_first) apply(first_relation, first, false);
  const Token* next = Peek();
  if (!number_first && next != nullptr && next->kind == Token::Name &&
      Lower(next->text) == "free") {
    variable.lower = -kInfinity, variable.upper = kInfinity;
    tokens_.Next();
    return true;
  }
  if (next == nullptr || next->kind != Token::Relation || next->starts_line) {
    if (number_first) return true;
    return FailAtToken("边界中变量名之后应为关系符号或“free”");
  }
  const RowRelation second_relation = next->relation;
  tokens_.Next();
  double second = 0;
  if (!SignedNumber(second)) return FailAtToken("边界中关系符号之后应为数");
  apply(second_relation, second, true);
  return true;
}

bool LpReader::IntegerName(bool binary) {
  const Token* name = Peek();
  if (name->kind != Token::Name) return FailAtToken("整数变量段中应为变量名");
  ModelVariable& variable = model_.variables[static_cast<std::size_t>(Variable(name->text))];
  variable.integer = true;
  if (binary) variable.lower = 0, variable.upper = 1;
  tokens_.Next();
  return true;
}

ModelReadResult LpReader::Read() {
  Section section = Section::None;
  bool has_objective = false;
  bool read = true;
  while (read && Peek() != nullptr) {
    if (model_.variables.size() > kMaxModelEntities || model_.rows.size() > kMaxModelEntities) {
      Fail(TooManyEntities());
      break;
    }
    if (const std::optional<Section> opened = SectionHere()) {
      if (*opened == Section::None) break;  // SectionHere failed
      section = *opened;
      if (section == Section::Objective) {
        read = !has_objective ? Objective() : Fail("目标函数只能有一个");
        has_objective = true;
      }
      continue;
    }
    switch (section) {
      case Section::Constraints:
        read = Constraint();
        break;
      case Section::Bounds:
        read = Bound();
        break;
      case Section::Integers:
      case Section::Binaries:
        read = IntegerName(section == Section::Binaries);
        break;
      case Section::End:
        read = FailAtToken("“end”之后不应再有内容");
        break;
      default:
        read = FailAtToken("文件应以“minimize”或“maximize”开始");
        break;
    }
  }
  ModelReadResult result;
  if (error_.empty() && !has_objective) error_ = "缺少目标函数（minimize 或 maximize）", line_ = 0;
  if (!error_.empty()) {
    result.line = line_;
    result.error = ModelError(file_, line_, error_);
    return result;
  }
  result.ok = true;
  result.model = std::move(model_);
  return result;
}

}  // namespace

ModelReadResult ReadCplexLp(std::string_view text, std::string_view file_name) {
  return LpReader(text, file_name).Read();
}

}  // namespace orcalc::models
