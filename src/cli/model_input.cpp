#include "cli/model_input.h"

#include <cstdio>

#include "cli/cli_io.h"
#include "models/model_reading.h"

namespace orcalc::cli {

LpFileKind LpFileKindOf(const Arguments& arguments, const std::string& path) {
  std::optional<LpFileKind> given;
  for (const std::string& value : arguments.Values(kFormatOption.name)) {
    std::optional<LpFileKind> kind;
    if (value == "mps") kind = LpFileKind::Mps;
    if (value == "lp") kind = LpFileKind::CplexLp;
    if (value == "sheet") kind = LpFileKind::Sheet;
    if (!kind && value != "report" && value != "csv" && value != "json") {
      throw UsageError(
          "--format takes mps, lp or sheet (the file) and report, csv or json "
          "(the output), got '" +
          value + "'");
    }
    if (kind && given && *given != *kind) throw UsageError("--format names two kinds of file");
    if (kind) given = kind;
  }
  if (given) return *given;
  const std::optional<models::ModelFormat> format = models::ModelFormatOfName(path);
  if (!format) return LpFileKind::Sheet;
  return *format == models::ModelFormat::Mps ? LpFileKind::Mps : LpFileKind::CplexLp;
}

void RequireNoSheetOptions(const Arguments& arguments, LpFileKind kind) {
  if (kind == LpFileKind::Sheet) return;
  for (const char* option : {"vars", "constraints", "max", "min"}) {
    if (arguments.Has(option)) {
      throw UsageError(std::string("--") + option +
                       " is for sheet files; a model file states its own size and sense");
    }
  }
}

models::ModelSheet ReadModelSheet(const std::string& path, LpFileKind kind) {
  const models::ModelReadResult read = models::ReadModelFileAt(
      path, kind == LpFileKind::Mps ? models::ModelFormat::Mps : models::ModelFormat::CplexLp,
      files::Source::AnyReadable);
  if (!read.ok) throw FileError(read.error);
  models::ModelSheet model = models::ConvertModelToSheet(read.model);
  if (!model.ok)
    throw FileError(models::ModelError(path == "-" ? "标准输入" : path, 0, model.error));
  for (const std::string& notice : model.notices) std::fprintf(stderr, "%s\n", notice.c_str());
  return model;
}

lp::LpRequest ModelRequest(const models::ModelSheet& model) {
  lp::LpRequest request;
  request.variables = model.variables;
  request.constraints = model.constraints;
  request.sense = model.sense;
  return request;
}

}  // namespace orcalc::cli
