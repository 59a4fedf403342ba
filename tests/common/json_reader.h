// A strict reader of JSON text (RFC 8259) for the tests of the JSON
// results: any departure from the grammar throws.
#pragma once

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orcalc::testing {

struct JsonValue {
  enum class Kind { Null, Flag, Number, Text, Array, Object };
  Kind kind = Kind::Null;
  bool flag = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members;

  bool Has(std::string_view key) const {
    for (const auto& member : members)
      if (member.first == key) return true;
    return false;
  }
  const JsonValue& operator[](std::string_view key) const {
    for (const auto& member : members)
      if (member.first == key) return member.second;
    throw std::runtime_error("no member " + std::string(key));
  }
  const JsonValue& operator[](std::size_t index) const { return items.at(index); }
};

class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  JsonValue ReadDocument() {
    JsonValue value = ReadValue();
    SkipBlanks();
    if (at_ != text_.size()) Fail("text after the value");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error(what + " at byte " + std::to_string(at_));
  }
  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  void SkipBlanks() {
    while (at_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos)
      ++at_;
  }
  void Expect(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) Fail("expected " + std::string(word));
    at_ += word.size();
  }
  bool Digits() {
    const std::size_t start = at_;
    while (Peek() >= '0' && Peek() <= '9') ++at_;
    return at_ > start;
  }

  JsonValue ReadValue() {
    SkipBlanks();
    JsonValue value;
    const char c = Peek();
    if (c == '{') {
      value.kind = JsonValue::Kind::Object;
      ReadList('}', [&] {
        SkipBlanks();
        std::string key = ReadString();
        SkipBlanks();
        Expect(":");
        value.members.emplace_back(std::move(key), ReadValue());
      });
    } else if (c == '[') {
      value.kind = JsonValue::Kind::Array;
      ReadList(']', [&] { value.items.push_back(ReadValue()); });
    } else if (c == '"') {
      value.kind = JsonValue::Kind::Text;
      value.text = ReadString();
    } else if (c == 't' || c == 'f') {
      value.kind = JsonValue::Kind::Flag;
      value.flag = c == 't';
      Expect(c == 't' ? "true" : "false");
    } else if (c == 'n') {
      Expect("null");
    } else {
      value.kind = JsonValue::Kind::Number;
      value.number = ReadNumber();
    }
    return value;
  }

  template <typename ReadItem>
  void ReadList(char close, ReadItem read_item) {
    ++at_;
    SkipBlanks();
    if (Peek() == close) {
      ++at_;
      return;
    }
    for (;;) {
      read_item();
      SkipBlanks();
      if (Peek() == close) break;
      Expect(",");
    }
    ++at_;
  }

  double ReadNumber() {
    const std::size_t start = at_;
    if (Peek() == '-') ++at_;
    if (Peek() == '0') {
      ++at_;
    } else if (!Digits()) {
      Fail("not a value");
    }
    if (Peek() == '.') {
      ++at_;
      if (!Digits()) Fail("no digits after the point");
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++at_;
      if (Peek() == '+' || Peek() == '-') ++at_;
      if (!Digits()) Fail("no digits in the exponent");
    }
    return std::strtod(std::string(text_.substr(start, at_ - start)).c_str(), nullptr);
  }

  void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  unsigned ReadHex4() {
    if (at_ + 4 > text_.size()) Fail("short \\u escape");
    const std::string hex(text_.substr(at_, 4));
    if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) Fail("bad \\u");
    at_ += 4;
    return static_cast<unsigned>(std::strtoul(hex.c_str(), nullptr, 16));
  }

  std::string ReadString() {
    Expect("\"");
    std::string out;
    for (;;) {
      if (at_ >= text_.size()) Fail("unclosed string");
      const char c = text_[at_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("raw control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      const char e = Peek();
      ++at_;
      const std::string_view simple = "\"\\/bfnrt", meaning = "\"\\/\b\f\n\r\t";
      if (const std::size_t k = simple.find(e); k != std::string_view::npos && e != '\0') {
        out += meaning[k];
      } else if (e == 'u') {
        unsigned code = ReadHex4();
        if (code >= 0xD800 && code < 0xDC00) {
          Expect("\\u");
          code = 0x10000 + ((code - 0xD800) << 10) + (ReadHex4() - 0xDC00);
        }
        AppendUtf8(out, code);
      } else {
        Fail("bad escape");
      }
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

inline JsonValue ParseJson(std::string_view text) { return JsonReader(text).ReadDocument(); }

}  // namespace orcalc::testing
