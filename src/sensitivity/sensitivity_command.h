// The sensitivity-analysis command over the linear-programming sheet.
#pragma once

#include "common/calculation.h"
#include "common/sheet.h"
#include "lp/lp_commands.h"
#include "lp/lp_texts.h"

namespace orcalc::lp {

enum class SensitivityFormat {
  Report,  // the text report for the results window (CR LF)
  Csv,     // the CSV lines of orcalc-cli (LF)
};

// Runs the calculation exactly as Calculate does (the same messages), then,
// when it ended optimal in phase 2 with no message at all, hands out the
// sensitivity report under the title "灵敏度分析结果" instead of the
// calculation's report. Otherwise the messages are the calculation's
// followed by "问题没有最优解，不能进行灵敏度分析！", and there is no report.
// Stopped through `request.progress`: the calculation's stopped outcome.
// When `run` is given, it receives the calculation behind the outcome.
struct SensitivityRun;
CalculationOutcome CalculateSensitivity(const LpRequest& request, const Sheet& sheet,
                                        SensitivityFormat format = SensitivityFormat::Report,
                                        SensitivityRun* run = nullptr);

}  // namespace orcalc::lp
