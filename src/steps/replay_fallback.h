// How a replay falls back from exact fractions to decimals: fractions where
// the tables are small enough and the time allows, decimals otherwise, with
// a note saying why.
#pragma once

#include <functional>
#include <string_view>

#include "steps/step_replay.h"
#include "steps/step_tableau.h"

namespace orcalc::steps {

enum class ReplayEnd { Done, Stopped, ZeroPivot };

// One replay of the tables into the document, asking `stop` now and then.
using ReplayRun = std::function<ReplayEnd(std::function<bool()> stop)>;

// Replays in fractions when options.fractions and the tables are `small`,
// within options.exact_seconds; in decimals otherwise or where that fails.
// `tables` names the tables in the note on tables too large.
void ReplayExactThenDecimals(StepsDocument& doc, const ReplayOptions& options, bool small,
                             std::string_view tables, const ReplayRun& in_fractions,
                             const ReplayRun& in_decimals);

}  // namespace orcalc::steps
