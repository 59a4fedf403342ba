// A small command-line parser: options "--name value" or "--name=value",
// flags "--name", and positional arguments ("-" is one; "--" ends options).
// "-o FILE" stands for "--output FILE" where "output" is an option.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orcalc::cli {

// A mistake in how the program was called; main reports it with exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct KnownOption {
  std::string_view name;  // without the leading "--"
  bool takes_value;
};

class Arguments {
 public:
  // Throws UsageError on an unknown option or a missing value. A repeated
  // option keeps its last value.
  Arguments(std::span<const std::string_view> args, std::span<const KnownOption> known);

  bool Has(std::string_view name) const { return values_.contains(std::string(name)); }
  std::optional<std::string> Value(std::string_view name) const;
  // Every value of an option given more than once, in order.
  std::vector<std::string> Values(std::string_view name) const;
  const std::vector<std::string>& positionals() const { return positionals_; }

 private:
  std::map<std::string, std::string> values_;
  std::map<std::string, std::vector<std::string>> all_values_;
  std::vector<std::string> positionals_;
};

// A count flag's value: digits only, larger than 500 cut to 500.
int ParseCount(std::string_view option, std::string_view text);
// A whole number within [low, high], with an optional leading minus sign.
int ParseWholeNumber(std::string_view option, std::string_view text, int low, int high);

}  // namespace orcalc::cli
