// The three calculations on small sheets decoded from the input: never
// crash, always end with a report or a message, write valid UTF-8, and never
// show a number that is not finite (inf, nan) without the overflow message.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/sheet.h"
#include "files/sheet_file.h"
#include "goal/goal_commands.h"
#include "lp/lp_commands.h"
#include "sensitivity/sensitivity_command.h"
#include "stats/stats_command.h"

namespace {

const char* const kTokens[] = {
    "",      "0",      "1",      "2",       "3",      "-1",   "-2.5",   ".5",    "0.1", "10",
    " ≤ ",   " ≥ ",    " ═ ",    "1e400",   "1e-300", "abc",  "7",      "1e20",  "-0",  "4",
    "5",     "1.5",    "2.5",    "-3",      "1e15",   "100",  "6",      "8",     "-.5", "1d2",
    "1e300", "-1e308", "1e-200", "0.00005", "44110",  "1e-6", "-44110", "1e308",
};
constexpr std::size_t kTokenCount = sizeof kTokens / sizeof kTokens[0];

struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  std::uint8_t Next() { return at < size ? data[at++] : 0; }
};

// The sensitivity CSV writes unlimited range bounds (its last two fields) as
// "inf" and "-inf"; elsewhere those letters stand only for numbers that are
// not finite.
std::string WithoutRangeBounds(const std::string& csv) {
  std::string kept;
  std::size_t start = 0;
  while (start < csv.size()) {
    std::size_t end = csv.find('\n', start);
    if (end == std::string::npos) end = csv.size();
    const std::string line = csv.substr(start, end - start);
    std::size_t cut = line.rfind(',');
    if (cut != std::string::npos && cut > 0) cut = line.rfind(',', cut - 1);
    kept += line.substr(0, cut == std::string::npos ? line.size() : cut);
    kept += '\n';
    start = end + 1;
  }
  return kept;
}

void CheckOutcome(const orcalc::CalculationOutcome& outcome, bool csv = false) {
  if (!outcome.report && outcome.messages.empty()) std::abort();
  if (outcome.report && !orcalc::IsValidUtf8(*outcome.report)) std::abort();
  for (const std::string& m : outcome.messages)
    if (m.empty() || !orcalc::IsValidUtf8(m)) std::abort();
  // Reports write numbers only (no cell text), and a number that is not
  // finite as "inf", "-inf" or "nan"; no fixed text holds these letters.
  const std::string numbers = !outcome.report ? std::string()
                              : csv           ? WithoutRangeBounds(*outcome.report)
                                              : *outcome.report;
  const bool non_finite =
      numbers.find("inf") != std::string::npos || numbers.find("nan") != std::string::npos;
  if (non_finite && std::find(outcome.messages.begin(), outcome.messages.end(),
                              orcalc::kNumericOverflowMessage) == outcome.messages.end())
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in{data, size};
  const int which = in.Next() % 3;
  const int rows = in.Next() % 13;
  const int cols = in.Next() % 13;
  const int count_a = in.Next() % 13;
  const int count_b = in.Next() % 13;
  const std::uint8_t flags = in.Next();

  orcalc::Sheet sheet(rows, cols);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      std::uint8_t b = in.Next();
      if (b < 0xF0) {
        sheet.SetCell(r, c, kTokens[b % kTokenCount]);
      } else {
        // A raw piece of the input, up to 8 bytes.
        std::string raw;
        for (int k = 0, n = b & 7; k < n; ++k) raw.push_back(static_cast<char>(in.Next()));
        sheet.SetCell(r, c, raw);
      }
    }
  }

  switch (which) {
    case 0: {
      orcalc::lp::LpRequest request;
      request.variables = count_a;
      request.constraints = count_b;
      request.sense = (flags & 1) ? orcalc::lp::Sense::Maximise : orcalc::lp::Sense::Minimise;
      CheckOutcome(orcalc::lp::Calculate(request, sheet));
      const bool csv = (flags & 2) != 0;
      CheckOutcome(orcalc::lp::CalculateSensitivity(request, sheet,
                                                    csv ? orcalc::lp::SensitivityFormat::Csv
                                                        : orcalc::lp::SensitivityFormat::Report),
                   csv);
      break;
    }
    case 1: {
      orcalc::goal::GoalRequest request;
      request.goals = count_a;
      request.variables = count_b;
      CheckOutcome(orcalc::goal::Calculate(request, sheet));
      break;
    }
    default: {
      orcalc::stats::StatsRequest request;
      request.column = count_a;
      request.count = count_b;
      request.kind = (flags & 1) ? orcalc::stats::SheetKind::GoalProgramming
                                 : orcalc::stats::SheetKind::LinearProgramming;
      CheckOutcome(orcalc::stats::Calculate(request, sheet));
      break;
    }
  }
  return 0;
}
