// What the replay needs of its numbers, for exact fractions and doubles.
#pragma once

#include <gmpxx.h>

#include <cmath>

#include "simplex/simplex_solver.h"
#include "steps/step_tableau.h"

namespace orcalc::steps {

template <class N>
struct ReplayNumber;

template <>
struct ReplayNumber<mpq_class> {
  static constexpr bool kExact = true;
  static mpq_class From(const mpq_class& exact, double) { return exact; }
  static mpq_class Epsilon() { return mpq_class(1, 10000); }
  // The ratio test's floor relative to the column (the method's 1e-9).
  static mpq_class RatioFloor() { return mpq_class(1, 1000000000); }
  static mpq_class Abs(const mpq_class& q) { return abs(q); }
  static double Decimal(const mpq_class& q) { return q.get_d(); }
  static StepNumber Step(const mpq_class& q) { return {q, q.get_d(), true}; }
};

template <>
struct ReplayNumber<double> {
  static constexpr bool kExact = false;
  static double From(const mpq_class&, double decimal) { return decimal; }
  static double Epsilon() { return lp::kEpsilon; }
  static double RatioFloor() { return lp::kRatioFloor; }
  static double Abs(double d) { return std::fabs(d); }
  static double Decimal(double d) { return d; }
  static StepNumber Step(double d) { return {std::nullopt, d, false}; }
};

}  // namespace orcalc::steps
