// The simplex tableaux of one calculation as a textbook lays them out: one
// table per step, with the basis (C_B, X_B), the right-hand sides b, one
// column per variable, the ratios θ, the costs c_j above and the reduced
// costs σ_j = c_j - z_j below. A goal program's tables are condensed
// exchange tables instead: one row per basic variable, one column per
// nonbasic one, and one evaluation row per priority level below.
#pragma once

#include <gmpxx.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "lp/lp_problem.h"

namespace orcalc::steps {

// An exact fraction or none, one pointer wide: a large problem's decimal
// tables hold millions of numbers and no fraction among them.
class ExactNumber {
 public:
  ExactNumber() = default;
  ExactNumber(std::nullopt_t) {}       // NOLINT(google-explicit-constructor): as std::optional
  ExactNumber(const mpq_class& value)  // NOLINT(google-explicit-constructor)
      : value_(std::make_unique<mpq_class>(value)) {}
  ExactNumber(const ExactNumber& other)
      : value_(other.value_ ? std::make_unique<mpq_class>(*other.value_) : nullptr) {}
  ExactNumber(ExactNumber&&) noexcept = default;
  ExactNumber& operator=(const ExactNumber& other) {
    if (this != &other)
      value_ = other.value_ ? std::make_unique<mpq_class>(*other.value_) : nullptr;
    return *this;
  }
  ExactNumber& operator=(ExactNumber&&) noexcept = default;
  ~ExactNumber() = default;

  bool has_value() const { return value_ != nullptr; }
  explicit operator bool() const { return has_value(); }
  // The fraction; throws std::bad_optional_access when there is none.
  const mpq_class& value() const {
    if (!value_) throw std::bad_optional_access();
    return *value_;
  }
  const mpq_class& operator*() const { return value(); }
  const mpq_class* operator->() const { return &value(); }

  friend bool operator==(const ExactNumber& a, const ExactNumber& b) {
    return a.has_value() == b.has_value() && (!a.has_value() || *a.value_ == *b.value_);
  }
  friend bool operator==(const ExactNumber& a, const mpq_class& b) {
    return a.has_value() && *a.value_ == b;
  }
  friend std::ostream& operator<<(std::ostream& out, const ExactNumber& number) {
    return number.has_value() ? out << number.value().get_str() : out << "(none)";
  }

 private:
  std::unique_ptr<mpq_class> value_;
};

// A number of a table: an exact fraction, or a decimal when the tables are
// shown in decimals (then no fraction is made).
struct StepNumber {
  ExactNumber exact;  // set when is_exact
  double decimal = 0.0;
  bool is_exact = true;
};

enum class VariableKind {
  Decision,
  Slack,
  Surplus,
  Artificial,
  NegativeDeviation,  // a goal's d-
  PositiveDeviation,  // a goal's d+
};

struct StepColumn {
  std::string name;  // "χ3"
  VariableKind kind = VariableKind::Decision;
  int level = 0;  // a goal program's variable: its priority level (0: none)
};

// A goal table's evaluation row of one priority level: per column, how
// much one unit of its variable lowers the level's objective, and the
// level's objective as it stands.
struct StepEvaluation {
  int level = 1;
  std::vector<StepNumber> entries;  // every column
  StepNumber achievement;
};

struct StepPivot {
  int row = 0;     // index into the table's rows
  int column = 0;  // index into StepsDocument::columns
};

struct StepTableau {
  long number = 0;  // its place among every table of the calculation, from 0
  int phase = 2;    // 1: the auxiliary objective is in force
  // The columns shown, indexes into StepsDocument::columns (phase 2 leaves
  // the artificial variables out).
  std::vector<int> shown;
  std::vector<StepNumber> costs;                 // c_j of every column
  std::vector<int> basis;                        // per row: the column of X_B
  std::vector<StepNumber> basis_costs;           // C_B
  std::vector<StepNumber> rhs;                   // b
  std::vector<StepNumber> cells;                 // rows x every column, row-major
  std::vector<std::optional<StepNumber>> theta;  // per row, with a pivot only
  std::vector<StepNumber> sigma;                 // σ_j of every column
  StepNumber objective;                          // the objective in force at this point
  // Phase 2: the columns kept out of the basis, because their entry would
  // make an artificial variable still basic at 0 positive again.
  std::vector<int> barred;
  std::optional<StepPivot> pivot;
  // A goal table: the level being minimised (0: none), and the evaluation
  // rows of the levels that have a variable (`costs` then holds the
  // variables' weights, `shown` the nonbasic columns in the table's order,
  // `sigma` the entries of the level being minimised).
  int level = 0;
  std::vector<StepEvaluation> evaluations;
  // Under the table: what the step does ("χ2 进基，χ4 出基，主元为 3/2"),
  // and, when round-off swayed the choice, what exact arithmetic chooses.
  std::string sentence;
  std::string round_off;

  const StepNumber& Cell(int row, int column, std::size_t columns) const {
    return cells[static_cast<std::size_t>(row) * columns + static_cast<std::size_t>(column)];
  }
};

// One line of the list of every table, kept or not: its phase, the pivot
// it makes (columns, -1 for none) and the objective in force.
struct TableSummary {
  int phase = 2;
  int entering = -1;  // the pivot's column
  int leaving = -1;   // the column of the basic variable leaving
  double pivot = 0.0;
  double objective = 0.0;
};

// What the last table shows in exact arithmetic, whatever the method
// concluded (Undecided: decimals, or the table proves nothing).
enum class ExactVerdict { Optimal, Unbounded, Infeasible, Undecided };

struct StepsDocument {
  lp::Sense sense = lp::Sense::Maximise;
  bool goal = false;  // a goal program's condensed exchange tables
  bool exact = true;  // fractions; false: decimals
  std::vector<StepColumn> columns;
  std::vector<StepNumber> costs;        // c_j of every column as entered: phase 2's costs
  std::vector<StepTableau> tableaux;    // the tables kept, in order
  std::vector<TableSummary> summaries;  // every table, kept or not
  std::vector<std::string> legend;      // what the columns and rows mean
  std::vector<std::string> notes;       // readings, decimals, tables left out
  std::string ending;                   // why the method stopped
  long pivots = 0;                      // the pivots replayed (every one of the calculation's)
  long tables_left_out = 0;  // tables not kept (too many to show, or before the first kept)
  // The point of the last table (x_1..x_m and the objective for the
  // sense chosen), and whether round-off swayed any choice.
  std::vector<double> x;
  double objective = 0.0;
  std::vector<double> achievements;  // a goal program: per level 1..L, at the last table
  ExactVerdict verdict = ExactVerdict::Undecided;
  bool round_off_swayed = false;
  // The last table, exactly, does not bear out the method's verdict.
  bool verdict_disputed = false;
  bool stopped = false;  // the caller asked the replay to stop
};

}  // namespace orcalc::steps
