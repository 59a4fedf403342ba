#include "stats/stats_command.h"

namespace orcalc::stats {
// Placeholder until the statistics land.
CalculationOutcome Calculate(const StatsRequest&, const Sheet&) { return {}; }
}  // namespace orcalc::stats
