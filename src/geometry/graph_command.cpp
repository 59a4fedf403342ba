#include "geometry/graph_command.h"

#include "common/calculation.h"
#include "geometry/graph_lattice.h"
#include "geometry/graph_text.h"
#include "lp/lp_sheet.h"

namespace orcalc::lp {

GraphCalculation CalculateGraph(const GraphRequest& request, const Sheet& sheet,
                                const std::vector<integer::VariableType>& types) {
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
  std::vector<integer::VariableType> two = types;
  two.resize(2, integer::VariableType::Continuous);
  if (integer::AnyWhole(two))
    calculation.geometry->lattice =
        ComputeGraphLattice(intake.problem, two, calculation.geometry->box);
  return calculation;
}

}  // namespace orcalc::lp
