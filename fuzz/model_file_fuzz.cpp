// Model files: reading any bytes as MPS or as CPLEX LP never crashes and
// refuses with a message; a model that becomes a sheet is exported in both
// formats, and the export reads back as the same sheet problem.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lp/lp_sheet.h"
#include "models/lp_format_reader.h"
#include "models/model_sheet.h"
#include "models/model_writer.h"
#include "models/mps_reader.h"

namespace {

using namespace orcalc;

// The problem a model's sheet holds, as Calculate reads it.
lp::LpIntake SheetProblem(const models::ModelSheet& model) {
  return lp::ReadLpSheet(model.sheet, model.variables, model.constraints, model.sense);
}

bool SameProblem(const lp::LpProblem& a, const lp::LpProblem& b) {
  return a.variables == b.variables && a.constraints == b.constraints && a.sense == b.sense &&
         a.objective == b.objective && a.coefficients == b.coefficients && a.signs == b.signs &&
         a.rhs == b.rhs;
}

void ReadsBackAsTheSame(const lp::LpProblem& problem, models::ModelFormat format) {
  const bool mps = format == models::ModelFormat::Mps;
  const std::string text = mps ? models::FreeMpsText(problem) : models::CplexLpText(problem);
  const models::ModelReadResult read =
      mps ? models::ReadMps(text, "x") : models::ReadCplexLp(text, "x");
  if (!read.ok) std::abort();
  const models::ModelSheet model = models::ConvertModelToSheet(read.model);
  if (!model.ok) std::abort();
  lp::LpProblem expected = problem;
  if (mps && problem.sense == lp::Sense::Maximise) {
    // MPS minimises the negated objective.
    expected.sense = lp::Sense::Minimise;
    for (double& c : expected.objective) c = -c;
  }
  if (!SameProblem(SheetProblem(model).problem, expected)) std::abort();
}

void Check(const models::ModelReadResult& read) {
  if (!read.ok) {
    if (read.error.empty()) std::abort();
    return;
  }
  const models::ModelSheet model = models::ConvertModelToSheet(read.model);
  if (!model.ok) {
    if (model.error.empty()) std::abort();
    return;
  }
  const lp::LpIntake intake = SheetProblem(model);
  // A number the sheet cannot hold (below the smallest double) is the
  // calculation's to report.
  if (intake.overflow) return;
  if (models::ExportRefusal(intake.problem)) return;
  ReadsBackAsTheSame(intake.problem, models::ModelFormat::Mps);
  ReadsBackAsTheSame(intake.problem, models::ModelFormat::CplexLp);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Check(models::ReadModel(bytes, models::ModelFormat::Mps, "f.mps"));
  Check(models::ReadModel(bytes, models::ModelFormat::CplexLp, "f.lp"));
  return 0;
}
