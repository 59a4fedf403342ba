#include "steps/replay_fallback.h"

#include <chrono>
#include <string>

#include "common/number_text.h"

namespace orcalc::steps {

void ReplayExactThenDecimals(StepsDocument& doc, const ReplayOptions& options, bool small,
                             std::string_view tables, const ReplayRun& in_fractions,
                             const ReplayRun& in_decimals) {
  auto asked = [&] { return options.should_stop && options.should_stop(); };
  if (options.fractions && small) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(options.exact_seconds));
    bool late = false;
    auto stop = [&] { return asked() || (late = late || Clock::now() > deadline); };
    if (in_fractions(stop) == ReplayEnd::Done) return;
    if (asked()) {
      doc.stopped = true;
      return;
    }
    doc.notes.push_back(
        late ? "精确分数的计算超过了 " + PlainNumber(options.exact_seconds) +
                   " 秒，以下改以小数显示（与计算相同的步骤）。"
             : "精确计算中某一主元为 0（舍入误差所致），以下改以小数显示（与计算相同的步骤）。");
  } else if (options.fractions) {
    std::string note(tables);
    note.append("超过 ")
        .append(std::to_string(kMostExactRows))
        .append(" 行或 ")
        .append(std::to_string(kMostExactColumns))
        .append(" 列，以下以小数显示（与计算相同的步骤）。");
    doc.notes.push_back(std::move(note));
  }
  const ReplayEnd end = in_decimals(asked);
  doc.stopped = end == ReplayEnd::Stopped;
  // Doubles replayed in another order than the calculation's may meet a
  // pivot of 0 where it met none; the tables stop there.
  if (end == ReplayEnd::ZeroPivot)
    doc.ending = "第 " + std::to_string(doc.pivots + 1) + " 步的主元在重演中为 0，无法继续列表。";
}

}  // namespace orcalc::steps
