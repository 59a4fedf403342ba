// A linear program as read from the sheet.
#pragma once

#include <cstddef>
#include <vector>

namespace orcalc::lp {

enum class Sense { Minimise, Maximise };

// The method's p: 1 maximises, -1 minimises.
inline double SenseSign(Sense sense) { return sense == Sense::Maximise ? 1.0 : -1.0; }

// Sign codes of a constraint's relation.
inline constexpr double kLessEqual = 1.0;
inline constexpr double kEqual = 0.0;
inline constexpr double kGreaterEqual = -1.0;

struct LpProblem {
  int variables = 0;    // m
  int constraints = 0;  // n
  Sense sense = Sense::Minimise;
  std::vector<double> objective;     // c_1..c_m as entered (m values)
  std::vector<double> coefficients;  // constraint i (0-based), variable j: [i * m + j]
  std::vector<double> signs;         // sign code per constraint
  std::vector<double> rhs;           // right-hand side per constraint

  double Coefficient(int row, int var) const {
    return coefficients[static_cast<std::size_t>(row) * static_cast<std::size_t>(variables) +
                        static_cast<std::size_t>(var)];
  }
  // Sizes the vectors for m variables and n constraints, all zero.
  void Resize(int m, int n);
};

// Multiplies every constraint whose right-hand side is negative by -1
// (coefficients, sign code and right-hand side), so that every right-hand
// side is at least 0.
void NormaliseRightHandSides(LpProblem& problem);

}  // namespace orcalc::lp
