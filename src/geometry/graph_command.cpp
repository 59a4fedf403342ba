#include "geometry/graph_command.h"

#include "common/calculation.h"
#include "geometry/graph_text.h"
#include "lp/lp_sheet.h"

namespace orcalc::lp {

GraphCalculation CalculateGraph(const GraphRequest& request, const Sheet& sheet) {
  GraphCalculation calculation;
  if (request.variables != 2) {
    calculation.messages.emplace_back(kGraphNeedsTwoVariablesMessage);
    return calculation;
  }
  const LpIntake intake = ReadLpSheet(sheet, request.variables, request.constraints, request.sense);
  if (intake.overflow) {
    calculation.messages.push_back(OverflowMessage(*intake.overflow));
    calculation.overflow = intake.overflow;
    return calculation;
  }
  calculation.geometry = ComputeGraph(intake.problem);
  return calculation;
}

}  // namespace orcalc::lp
