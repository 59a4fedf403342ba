#include "models/model_reading.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

#include "files/text_decoding.h"
#include "models/lp_format_reader.h"
#include "models/mps_reader.h"

namespace orcalc::models {
namespace {

bool EndsWithNoCase(std::string_view text, std::string_view end) {
  if (text.size() < end.size()) return false;
  return std::equal(end.begin(), end.end(), text.end() - static_cast<long>(end.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

std::string FileFault(const SheetFileResult& read, std::string_view file_name) {
  const std::string file = std::string("模型文件“") + std::string(file_name) + "”";
  switch (read.problem) {
    case SheetFileProblem::TooLarge:
      return file + "超过 64 MB，不予读取";
    case SheetFileProblem::NotRegular:
      return file + "不是普通文件（是文件夹、设备、管道或套接字）";
    case SheetFileProblem::OpenFailed:
      return "无法打开" + file + "：" + std::strerror(read.error_number);
    default:
      return "无法读取" + file + "：" + std::strerror(read.error_number);
  }
}

}  // namespace

std::string TooManyEntities() {
  std::string text = "模型的变量或约束多于 ";
  text += std::to_string(kMaxModelEntities);
  text += " 个，转换为表格后必然超过 500 × 500 的上限";
  return text;
}

std::optional<ModelFormat> ModelFormatOfName(std::string_view path) {
  if (EndsWithNoCase(path, ".mps")) return ModelFormat::Mps;
  if (EndsWithNoCase(path, ".lp")) return ModelFormat::CplexLp;
  return std::nullopt;
}

std::string ModelError(std::string_view file_name, long line, std::string_view what) {
  std::string text = std::string("模型文件“") + std::string(file_name) + "”";
  if (line > 0) text += std::string("第 ") + std::to_string(line) + " 行";
  text += "：";
  text += what;
  return text;
}

ModelReadResult ReadModel(std::string_view bytes, ModelFormat format, std::string_view file_name) {
  const DecodedText decoded = DecodeSheetText(bytes);
  if (!decoded.ok) {
    ModelReadResult result;
    result.line = decoded.line;
    result.error =
        ModelError(file_name, decoded.line, "不是文本（既非 UTF-8、UTF-16，也非 GB18030）");
    return result;
  }
  return format == ModelFormat::Mps ? ReadMps(decoded.text, file_name)
                                    : ReadCplexLp(decoded.text, file_name);
}

ModelReadResult ReadModelFileAt(const std::string& path, ModelFormat format, files::Source source) {
  std::string bytes;
  const SheetFileResult read = path == "-" ? files::ReadFileBytesFrom(STDIN_FILENO, bytes)
                                           : files::ReadFileBytesAt(path, source, bytes);
  const std::string name = path == "-" ? "标准输入" : path;
  if (!read.ok) {
    ModelReadResult result;
    result.error = FileFault(read, name);
    return result;
  }
  return ReadModel(bytes, format, name);
}

std::optional<double> ParseModelNumber(std::string_view text) {
  // "+" is a sign from_chars does not take; a second sign is no number.
  if (text.starts_with("+")) text.remove_prefix(1);
  if (text.empty() || text.starts_with("+")) return std::nullopt;
  double value = 0;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(text.data(), last, value);
  // Out of range: from_chars leaves the value alone; such a number is no
  // number a model can hold.
  if (error != std::errc() || end != last || std::isnan(value)) return std::nullopt;
  return value;
}

}  // namespace orcalc::models
