// Figures as CSV: the header "figure,value", then one record per figure,
// LF line ends. A figure is named by its path: the keys of the objects and
// the 1-based positions in the arrays that hold it, joined by "."
// ("S", "variables.2", "messages.1.keyword"). Numbers are round-trip number
// texts ("inf", "-inf" and "nan" when not finite), flags "true" and
// "false", an absent figure an empty field; a field with a comma, a quote
// or a line break is quoted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/result_writer.h"

namespace orcalc {

class CsvFigureWriter final : public ResultWriter {
 public:
  CsvFigureWriter();

  void BeginObject(std::string_view key = {}) override;
  void EndObject() override;
  void BeginArray(std::string_view key = {}) override;
  void EndArray() override;
  void Number(std::string_view key, double value) override;
  void Text(std::string_view key, std::string_view value) override;
  void Flag(std::string_view key, bool value) override;
  void Null(std::string_view key) override;
  std::string Take() override;

 private:
  struct Level {
    bool array = false;
    int items = 0;
    std::size_t path_size = 0;  // the path's length before this level's name
  };
  // The path of the next item; returns the length to cut it back to.
  std::size_t Enter(std::string_view key);
  void Record(std::string_view key, std::string_view value);

  std::string text_;
  std::string path_;
  std::vector<Level> levels_;
};

// A CSV field: as it is, or quoted with its quotes doubled when it holds a
// comma, a quote, CR or LF.
std::string CsvField(std::string_view text);

}  // namespace orcalc
