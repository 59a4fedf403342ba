// Figures as one JSON object: UTF-8, LF line ends, one member per line,
// arrays of numbers or texts on one line. Numbers are round-trip number
// texts (whatever the locale); one that is not finite is null.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/result_writer.h"

namespace orcalc {

class JsonWriter final : public ResultWriter {
 public:
  void BeginObject(std::string_view key = {}) override;
  void EndObject() override;
  void BeginArray(std::string_view key = {}) override;
  void EndArray() override;
  void Number(std::string_view key, double value) override;
  void Text(std::string_view key, std::string_view value) override;
  void Flag(std::string_view key, bool value) override;
  void Null(std::string_view key) override;
  // The object and a closing line end.
  std::string Take() override;

 private:
  struct Level {
    bool array = false;
    int items = 0;
    bool nested = false;  // an array that holds objects or arrays
  };
  // The separator, line break and key before the next item.
  void StartItem(std::string_view key, bool container);
  void Close(char bracket);
  void Indent(std::size_t depth);

  std::string text_;
  std::vector<Level> levels_;
};

// `text` as a JSON string, quotes included: '"' and '\' escaped, control
// characters as \n, \r, \t or \u00XX, every other byte as it is.
std::string JsonString(std::string_view text);

}  // namespace orcalc
