// Model files (MPS, CPLEX LP) where a command on a linear program takes a
// sheet: the file's kind, and the sheet the model becomes.
#pragma once

#include <string>

#include "cli/arguments.h"
#include "cli/output_format.h"
#include "lp/lp_commands.h"
#include "models/model_sheet.h"

namespace orcalc::cli {

enum class LpFileKind { Sheet, Mps, CplexLp };

// --format mps|lp|sheet when given, otherwise the file's ending (".mps",
// ".lp"; anything else is a sheet). --format may be given again for the
// output (report, csv, json); any other value is a usage error.
LpFileKind LpFileKindOf(const Arguments& arguments, const std::string& path);

// A model states its own size and sense: --vars, --constraints, --max and
// --min are usage errors with one.
void RequireNoSheetOptions(const Arguments& arguments, LpFileKind kind);

// The model file at `path` ("-": standard input) as a sheet; FileError
// (in Chinese, naming the file and the line) when it cannot be read or
// does not fit a sheet. Its notices go to standard error.
models::ModelSheet ReadModelSheet(const std::string& path, LpFileKind kind);

// The request for calculating a model's sheet.
lp::LpRequest ModelRequest(const models::ModelSheet& model);

}  // namespace orcalc::cli
