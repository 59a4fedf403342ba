#include "integer/branch_and_bound.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "integer/dual_warm_start.h"

namespace orcalc::integer {
namespace {

using lp::LpProblem;
using lp::SimplexOutcome;
using lp::SimplexResult;

// Fathoming. In general a node is pursued only when its bound beats the
// incumbent by more than kImproveTolerance of the incumbent's magnitude (at
// least 1): a certified relaxation's S is good to about 1e-12 of its terms,
// so a node that ties the incumbent is let go, while any improvement the
// report's figures could show is still sought. When only whole-number
// variables count in the objective, each with a whole-number coefficient,
// every whole-number solution's S is a whole number: a node is then pursued
// only when its bound reaches the incumbent plus 1, less kWholeBoundSlack of
// the bound's magnitude (at least 1) so that round-off in a bound of exactly
// the incumbent plus 1 never loses it.
constexpr double kImproveTolerance = 1e-10;
constexpr double kWholeBoundSlack = 1e-6;
// Whole-number coefficients beyond this are not all exact in a double.
constexpr double kLargestExactWhole = 9007199254740992.0;  // 2^53

double Magnitude(double v) { return std::max(1.0, std::fabs(v)); }

bool IsWholeNumber(double v) {
  return std::fabs(v - std::round(v)) <= kWholeTolerance * Magnitude(v);
}

bool ObjectiveIsWhole(const LpProblem& problem, const std::vector<VariableType>& types) {
  for (std::size_t j = 0; j < types.size(); ++j) {
    const double c = problem.objective[j];
    if (c == 0) continue;
    if (!IsWhole(types[j]) || c != std::floor(c) || std::fabs(c) > kLargestExactWhole) {
      return false;
    }
  }
  return true;
}

// A node's relaxation: the problem as read with each variable's lower bound
// k from the branches shifted out (χj = k + χ'j, the rows' right-hand sides
// less a_ij·k) and its upper bound u as the row χ'j ≤ u − k. Shifting keeps
// out the ≥ rows that branching up would add, each of which the simplex
// method's first phase would have to work off with an artificial variable.
struct NodeLp {
  LpProblem problem;
  std::vector<double> lower;         // k per variable
  std::vector<int> bound_variables;  // the variable of each bound row, in order
};

// A parent's optimal basis, kept for its children to start from, with its
// bound rows' variables to place its rows in theirs.
struct ParentBasis {
  std::vector<int> basis;
  std::vector<int> bound_variables;
};

// Bases kept for open nodes, in basis entries (4 bytes each): best first can
// leave many nodes open, and past this a child is solved from scratch.
constexpr std::size_t kKeptBasisEntries = std::size_t{1} << 24;

// Children start from their parent's basis only when the root's relaxation
// took more than this many pivots per row from scratch. A warm start
// inverts the basis afresh (about as much work as two pivots per row of the
// tableau) before its first step: measured on GLPK's example models, it pays
// where the first solve is long (wolfra6d: 975 pivots on 444 rows, nodes
// from scratch taking up to 14 s) and costs several times the node's own
// solve where it is short (sat, food2, magic: under 0.7 pivots per row).
constexpr long kWarmStartPivotsPerRow = 1;

class Search {
 public:
  Search(const LpProblem& problem, const std::vector<VariableType>& types,
         const IntegerOptions& options)
      : problem_(problem), types_(types), options_(options), sign_(lp::SenseSign(problem.sense)) {
    result_.whole_objective = ObjectiveIsWhole(problem, types);
  }

  IntegerResult Run();

 private:
  // Values are S times the sense's sign: larger is better.
  bool CanImprove(double value) const;
  NodeLp NodeProblem(int id) const;
  // The relaxation's point and S for the variables as entered.
  void ShiftBack(SimplexResult& relaxation, const std::vector<double>& lower) const;
  // The whole-number variable to branch on: the one whose fraction is
  // nearest to one half (the first of equals); -1 when all are whole.
  int BranchingVariable(const std::vector<double>& x) const;
  void Examine(int id);
  void Branch(int id, int variable, double v, double objective);
  void TakeIncumbent(const SimplexResult& relaxation);
  // The relaxation from the parent's basis when it has one and that works,
  // else from scratch.
  SimplexResult Relaxation(const ParentBasis* parent, const NodeLp& node_lp);
  // The basis kept for the node, no longer kept.
  std::shared_ptr<const ParentBasis> TakeBasis(int id);
  // The parent's basis with its rows placed as the child's are; empty when
  // a row has no place.
  std::vector<int> ChildBasis(const ParentBasis& parent, const NodeLp& child) const;
  void KeepBasis(const SimplexResult& relaxation, const NodeLp& node_lp);
  void Push(int id);
  int Pop();
  bool OpenBefore(int a, int b) const;
  double BestOpenValue() const;
  // Tells the progress the nodes, the incumbent and the bound.
  void Report() const;
  void Finish();

  const LpProblem& problem_;
  const std::vector<VariableType>& types_;
  const IntegerOptions& options_;
  const double sign_;
  IntegerResult result_;
  std::vector<int> open_;
  std::vector<std::shared_ptr<const ParentBasis>> warm_;  // by node, while open
  std::size_t kept_entries_ = 0;
  bool warm_starts_ = false;  // decided by the root's relaxation
  bool best_first_ = false;   // a heap of open_ by bound once an incumbent is found
  double incumbent_value_ = 0;
  double root_value_ = 0;
  bool ended_ = false;
};

bool Search::CanImprove(double value) const {
  if (!result_.incumbent) return true;
  if (result_.whole_objective) {
    return value >= incumbent_value_ + 1 - kWholeBoundSlack * Magnitude(value);
  }
  return value > incumbent_value_ + kImproveTolerance * Magnitude(incumbent_value_);
}

NodeLp Search::NodeProblem(int id) const {
  const std::size_t m = types_.size();
  constexpr double kNone = std::numeric_limits<double>::infinity();
  NodeLp node{problem_, std::vector<double>(m, 0.0), {}};
  std::vector<double>& lower = node.lower;
  std::vector<double> upper(m, kNone);
  for (std::size_t j = 0; j < m; ++j)
    if (types_[j] == VariableType::Binary) upper[j] = 1;
  for (int at = id; at >= 0; at = result_.tree[static_cast<std::size_t>(at)].parent) {
    const SearchNode& branch = result_.tree[static_cast<std::size_t>(at)];
    if (branch.variable < 0) continue;
    const auto j = static_cast<std::size_t>(branch.variable);
    if (branch.upper) {
      upper[j] = std::min(upper[j], branch.value);
    } else {
      lower[j] = std::max(lower[j], branch.value);
    }
  }
  LpProblem& out = node.problem;
  for (std::size_t i = 0; i < out.rhs.size(); ++i) {
    long double shifted = out.rhs[i];
    for (std::size_t j = 0; j < m; ++j)
      if (lower[j] > 0) shifted -= static_cast<long double>(out.coefficients[i * m + j]) * lower[j];
    out.rhs[i] = static_cast<double>(shifted);
  }
  for (std::size_t j = 0; j < m; ++j) {
    if (!(upper[j] < kNone)) continue;
    out.coefficients.resize(out.coefficients.size() + m, 0.0);
    out.coefficients[out.coefficients.size() - m + j] = 1;
    out.signs.push_back(lp::kLessEqual);
    out.rhs.push_back(upper[j] - lower[j]);
    ++out.constraints;
    node.bound_variables.push_back(static_cast<int>(j));
  }
  lp::NormaliseRightHandSides(out);
  return node;
}

void Search::ShiftBack(SimplexResult& relaxation, const std::vector<double>& lower) const {
  long double moved = 0;
  for (std::size_t j = 0; j < lower.size() && j < relaxation.x.size(); ++j) {
    if (lower[j] == 0) continue;
    relaxation.x[j] += lower[j];
    moved += static_cast<long double>(problem_.objective[j]) * lower[j];
  }
  relaxation.objective = static_cast<double>(relaxation.objective + moved);
}

int Search::BranchingVariable(const std::vector<double>& x) const {
  int best = -1;
  double best_distance = 1;
  for (std::size_t j = 0; j < types_.size() && j < x.size(); ++j) {
    if (!IsWhole(types_[j]) || IsWholeNumber(x[j])) continue;
    const double fraction = x[j] - std::floor(x[j]);
    const double distance = std::fabs(fraction - 0.5);
    if (best < 0 || distance < best_distance) {
      best = static_cast<int>(j);
      best_distance = distance;
    }
  }
  return best;
}

bool Search::OpenBefore(int a, int b) const {
  // std::push_heap's order: the top is the node of the best bound, the
  // earliest made of equals.
  const double va = sign_ * result_.tree[static_cast<std::size_t>(a)].bound;
  const double vb = sign_ * result_.tree[static_cast<std::size_t>(b)].bound;
  return va < vb || (va == vb && a > b);
}

void Search::Push(int id) {
  open_.push_back(id);
  if (best_first_) {
    std::push_heap(open_.begin(), open_.end(), [this](int a, int b) { return OpenBefore(a, b); });
  }
}

int Search::Pop() {
  if (best_first_) {
    std::pop_heap(open_.begin(), open_.end(), [this](int a, int b) { return OpenBefore(a, b); });
  }
  const int id = open_.back();
  open_.pop_back();
  return id;
}

double Search::BestOpenValue() const {
  double best = -std::numeric_limits<double>::infinity();
  for (int id : open_)
    best = std::max(best, sign_ * result_.tree[static_cast<std::size_t>(id)].bound);
  return best;
}

void Search::Report() const {
  if (!options_.progress) return;
  // Depth first, the root's relaxation; best first, the heap's top.
  double bound = root_value_;
  if (best_first_) {
    bound = incumbent_value_;
    if (!open_.empty())
      bound = std::max(bound, sign_ * result_.tree[static_cast<std::size_t>(open_.front())].bound);
  }
  options_.progress->SetSearch(result_.nodes, result_.incumbent.has_value(),
                               result_.incumbent ? result_.incumbent->objective : 0, sign_ * bound);
}

IntegerResult Search::Run() {
  SearchNode root;
  root.bound = sign_ * std::numeric_limits<double>::infinity();
  result_.tree.push_back(root);
  Push(0);
  while (!open_.empty() && !ended_) {
    if (result_.nodes >= options_.node_limit) {
      ended_ = true;
      result_.outcome = IntegerOutcome::LimitWithoutIncumbent;
      break;
    }
    Examine(Pop());
    Report();
  }
  Finish();
  return std::move(result_);
}

void Search::Examine(int id) {
  const auto at = static_cast<std::size_t>(id);
  const std::shared_ptr<const ParentBasis> parent = TakeBasis(id);
  if (!CanImprove(sign_ * result_.tree[at].bound)) {
    ++result_.nodes;
    result_.tree[at].fate = NodeFate::FathomedByBound;
    return;
  }
  const NodeLp node_lp = NodeProblem(id);
  SimplexResult relaxation = Relaxation(parent.get(), node_lp);
  if (relaxation.outcome == SimplexOutcome::Stopped) {
    Push(id);
    ended_ = true;
    result_.time_limit = options_.progress && options_.progress->TimedOut();
    result_.outcome =
        result_.time_limit ? IntegerOutcome::LimitWithoutIncumbent : IntegerOutcome::Stopped;
    return;
  }
  ++result_.nodes;
  ShiftBack(relaxation, node_lp.lower);
  SearchNode& node = result_.tree[at];
  const bool optimal = relaxation.outcome == SimplexOutcome::Optimal;
  if ((optimal && !lp::SolvedCleanly(relaxation)) ||
      (relaxation.checked && !relaxation.certified)) {
    result_.doubtful_relaxation = true;
  }
  if (relaxation.outcome == SimplexOutcome::Phase1Stuck ||
      (optimal && relaxation.infeasible_rows > 0)) {
    node.fate = NodeFate::Infeasible;
    return;
  }
  if (!optimal) {
    node.fate = NodeFate::Failed;
    ended_ = true;
    result_.outcome = relaxation.outcome == SimplexOutcome::Unbounded
                          ? IntegerOutcome::RelaxationUnbounded
                          : IntegerOutcome::RelaxationFailed;
    result_.ending_relaxation = relaxation;
    return;
  }
  node.relaxation = relaxation.objective;
  const double value = sign_ * relaxation.objective;
  if (id == 0) root_value_ = value;
  if (id == 0)
    warm_starts_ = relaxation.pivots > kWarmStartPivotsPerRow * node_lp.problem.constraints;
  if (!CanImprove(value)) {
    node.fate = NodeFate::FathomedByBound;
    return;
  }
  const int variable = BranchingVariable(relaxation.x);
  if (variable < 0) {
    node.fate = NodeFate::WholeSolution;
    TakeIncumbent(relaxation);
    return;
  }
  node.fate = NodeFate::Branched;
  Branch(id, variable, relaxation.x[static_cast<std::size_t>(variable)], relaxation.objective);
  KeepBasis(relaxation, node_lp);
}

std::shared_ptr<const ParentBasis> Search::TakeBasis(int id) {
  const auto at = static_cast<std::size_t>(id);
  std::shared_ptr<const ParentBasis> parent;
  if (at < warm_.size()) parent = std::move(warm_[at]);
  if (parent && parent.use_count() == 1) kept_entries_ -= parent->basis.size();
  return parent;
}

SimplexResult Search::Relaxation(const ParentBasis* parent, const NodeLp& node_lp) {
  if (parent) {
    std::vector<int> basis = ChildBasis(*parent, node_lp);
    if (!basis.empty()) {
      std::optional<SimplexResult> warm =
          SolveFromBasis(node_lp.problem, std::move(basis), options_.progress);
      if (warm) return std::move(*warm);
    }
  }
  lp::SimplexOptions simplex;
  simplex.iteration_limit = options_.iteration_limit;
  simplex.progress = options_.progress;
  return lp::SolveSimplex(node_lp.problem, simplex);
}

std::vector<int> Search::ChildBasis(const ParentBasis& parent, const NodeLp& child) const {
  const int m = child.problem.variables;
  const int read = problem_.constraints;
  std::vector<int> bound_row(types_.size(), -1);
  for (std::size_t k = 0; k < child.bound_variables.size(); ++k)
    bound_row[static_cast<std::size_t>(child.bound_variables[k])] = read + static_cast<int>(k);
  auto place = [&](int row) {
    if (row < read) return row;
    const std::size_t k = static_cast<std::size_t>(row - read);
    if (k >= parent.bound_variables.size()) return -1;
    return bound_row[static_cast<std::size_t>(parent.bound_variables[k])];
  };
  const auto rows = static_cast<std::size_t>(child.problem.constraints);
  std::vector<int> basis(rows, -2);
  for (std::size_t r = 0; r < parent.basis.size(); ++r) {
    const int row = place(static_cast<int>(r));
    const int column = parent.basis[r];
    const int placed = column < m ? column : place(column - m);
    if (row < 0 || (placed < 0 && column != lp::kArtificialColumn)) return {};
    basis[static_cast<std::size_t>(row)] = column < m ? column : m + placed;
  }
  for (std::size_t r = 0; r < rows; ++r)
    if (basis[r] == -2) basis[r] = m + static_cast<int>(r);
  return basis;
}

void Search::KeepBasis(const SimplexResult& relaxation, const NodeLp& node_lp) {
  const std::size_t entries = relaxation.basis.size();
  warm_.resize(result_.tree.size());
  if (!warm_starts_ || entries == 0 || kept_entries_ + entries > kKeptBasisEntries) return;
  auto kept =
      std::make_shared<const ParentBasis>(ParentBasis{relaxation.basis, node_lp.bound_variables});
  kept_entries_ += entries;
  warm_[warm_.size() - 1] = kept;
  warm_[warm_.size() - 2] = std::move(kept);
}

// Two children, the one towards the nearer whole number made first and,
// depth first, searched first.
void Search::Branch(int id, int variable, double v, double objective) {
  const SearchNode& parent = result_.tree[static_cast<std::size_t>(id)];
  SearchNode down;
  down.parent = id;
  down.depth = parent.depth + 1;
  down.variable = variable;
  down.bound = objective;
  SearchNode up = down;
  down.upper = true;
  down.value = std::floor(v);
  up.value = std::ceil(v);
  const bool up_first = v - std::floor(v) >= 0.5;
  const int first = static_cast<int>(result_.tree.size());
  result_.tree.push_back(up_first ? up : down);
  result_.tree.push_back(up_first ? down : up);
  Push(first + 1);
  Push(first);
}

void Search::TakeIncumbent(const SimplexResult& relaxation) {
  SimplexResult point = relaxation;
  long double objective = 0;
  for (std::size_t j = 0; j < point.x.size(); ++j) {
    if (j < types_.size() && IsWhole(types_[j])) point.x[j] = std::round(point.x[j]) + 0.0;
    objective += static_cast<long double>(problem_.objective[j]) * point.x[j];
  }
  point.objective = static_cast<double>(objective);
  const double value = sign_ * point.objective;
  if (!result_.incumbent || value > incumbent_value_) {
    result_.incumbent = std::move(point);
    incumbent_value_ = value;
  }
  if (!best_first_) {
    best_first_ = true;
    std::make_heap(open_.begin(), open_.end(), [this](int a, int b) { return OpenBefore(a, b); });
  }
}

void Search::Finish() {
  const bool limited = result_.outcome == IntegerOutcome::LimitWithoutIncumbent;
  if (!ended_) {
    result_.outcome = result_.incumbent ? IntegerOutcome::Optimal : IntegerOutcome::NoWholeSolution;
  } else if (limited && result_.incumbent) {
    result_.outcome = IntegerOutcome::LimitWithIncumbent;
  }
  if (result_.outcome == IntegerOutcome::Optimal) {
    result_.best_bound = result_.incumbent->objective;
  } else if (limited) {
    double best = BestOpenValue();
    if (result_.incumbent) best = std::max(best, incumbent_value_);
    // With a whole-number objective, no solution beats the bound's whole part.
    if (result_.whole_objective) best = std::floor(best + kWholeBoundSlack * Magnitude(best));
    if (std::isfinite(best)) result_.best_bound = sign_ * best;
  }
}

}  // namespace

IntegerResult SolveBranchAndBound(const LpProblem& problem, const std::vector<VariableType>& types,
                                  const IntegerOptions& options) {
  return Search(problem, types, options).Run();
}

}  // namespace orcalc::integer
