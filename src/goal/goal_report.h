// The goal-programming report: header, echo of the goals, one block per
// pivot, the closing line when every level was minimised, the final block.
// Every line is preceded by CR LF, so the text starts with CR LF and does
// not end with one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/report_text.h"
#include "goal/goal_model.h"
#include "goal/goal_solver.h"

namespace orcalc::goal {

class GoalReport {
 public:
  // Writes the header and the echo of every goal as read (plain number
  // texts with `decimal_separator`).
  GoalReport(const GoalModel& model, std::string_view decimal_separator = ".");

  // One result block for a snapshot.
  void AddBlock(const GoalSnapshot& snapshot);

  // The closing line (only for Optimal), then the final block.
  void Finish(GoalOutcome outcome, const GoalSnapshot& final);

  std::size_t size() const { return text_.size(); }
  std::string Take() { return text_.Take(); }

 private:
  // Makes room for one more block, growing the buffer geometrically.
  void ReserveBlock();

  int goals_ = 0;
  int variables_ = 0;
  int levels_ = 0;
  ReportText text_;
  // Line starts that never change between blocks, CR LF included.
  std::vector<std::string> levelLines_;     // "GOAL  P( k)= ---- ="
  std::vector<std::string> variableLines_;  // "X( j)="
  std::vector<std::string> negativeLines_;  // "D( i)- ="
  std::vector<std::string> positiveLines_;  // "D( i)+ ="
  std::string levelCountLine_;              // "L=:L"
  std::size_t blockBound_ = 0;              // most bytes one block can take
};

}  // namespace orcalc::goal
