// Reading a model file (MPS or CPLEX LP) into a LinearModel.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "files/sheet_file_source.h"
#include "models/linear_model.h"

namespace orcalc::models {

enum class ModelFormat { Mps, CplexLp };

// A model with more variables or rows than this can never become a sheet
// of 500 × 500 in practice; reading it stops there, so that a large file
// costs little.
inline constexpr std::size_t kMaxModelEntities = 100000;

// The refusal of a model beyond kMaxModelEntities.
std::string TooManyEntities();

struct ModelReadResult {
  bool ok = false;
  LinearModel model;
  // What is wrong, in Chinese, naming the file and, when it has one, the
  // line: "模型文件“plan.mps”第 12 行：……".
  std::string error;
  long line = 0;  // 0 when the fault belongs to no line
};

// The format a file's name announces: ".mps" or ".lp" in any case.
std::optional<ModelFormat> ModelFormatOfName(std::string_view path);

// Reads `bytes` as the model file `file_name` (used in the messages only).
ModelReadResult ReadModel(std::string_view bytes, ModelFormat format, std::string_view file_name);

// Reads the model file at `path` no further than a sheet file may reach
// (kSheetFileMaxBytes), as files::ReadFileBytesAt does; "-" for `path`
// reads standard input.
ModelReadResult ReadModelFileAt(const std::string& path, ModelFormat format, files::Source source);

// A number in a model file: an optional sign, then what strtod reads in
// the C locale ("Inf" and "Infinity" included, "nan" not); nothing more.
std::optional<double> ParseModelNumber(std::string_view text);

// The failure message for `what` on `line` (0: no line) of `file_name`.
std::string ModelError(std::string_view file_name, long line, std::string_view what);

}  // namespace orcalc::models
