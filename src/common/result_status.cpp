#include "common/result_status.h"

namespace orcalc {

std::string_view StatusKeyword(ResultStatus status) {
  switch (status) {
    case ResultStatus::Optimal:
      return "optimal";
    case ResultStatus::Infeasible:
      return "infeasible";
    case ResultStatus::Unbounded:
      return "unbounded";
    case ResultStatus::IterationLimit:
      return "iteration_limit";
    case ResultStatus::Cycling:
      return "cycling";
    case ResultStatus::RoundOff:
      return "round_off";
    case ResultStatus::Overflow:
      return "overflow";
    case ResultStatus::TimeLimit:
      return "time_limit";
    case ResultStatus::Cancelled:
      return "cancelled";
    case ResultStatus::Done:
      return "done";
    case ResultStatus::NoColumn:
      return "no_column";
    case ResultStatus::NotApplicable:
      return "not_applicable";
    case ResultStatus::NoIntegerSolution:
      return "no_integer_solution";
    case ResultStatus::RelaxationUnbounded:
      return "relaxation_unbounded";
    case ResultStatus::NodeLimit:
      return "node_limit";
  }
  return "unknown";
}

}  // namespace orcalc
