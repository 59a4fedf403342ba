// A report's text, built by appending pieces; linear in its final size.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/number_text.h"

namespace orcalc {

class ReportText {
 public:
  // The separator used by AddPlain (the user's regional one in the windows).
  explicit ReportText(std::string_view decimal_separator = ".") : separator_(decimal_separator) {}

  void Reserve(std::size_t bytes) { text_.reserve(bytes); }
  std::string_view decimal_separator() const { return separator_; }

  ReportText& Add(std::string_view piece) {
    text_.append(piece);
    return *this;
  }
  ReportText& AddPlain(double value) {
    char buffer[kNumberTextCapacity];
    text_.append(buffer, WritePlainNumber(buffer, value, separator_));
    return *this;
  }
  ReportText& AddSigned(double value) {
    char buffer[kNumberTextCapacity];
    text_.append(buffer, WriteSignedNumber(buffer, value));
    return *this;
  }
  // Whole numbers (counts, indexes): plain digits.
  ReportText& AddInt(long long value);
  // Line end: carriage return, line feed.
  ReportText& EndLine() {
    text_.append("\r\n", 2);
    return *this;
  }

  std::size_t size() const { return text_.size(); }
  const std::string& str() const { return text_; }
  std::string Take() { return std::move(text_); }

 private:
  std::string separator_;
  std::string text_;
};

}  // namespace orcalc
