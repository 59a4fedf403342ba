#include "cli/arguments.h"

#include <algorithm>

#include "common/numeric_reading.h"

namespace orcalc::cli {
namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsKnown(std::span<const KnownOption> known, std::string_view name) {
  return std::any_of(known.begin(), known.end(),
                     [&](const KnownOption& option) { return option.name == name; });
}

}  // namespace

Arguments::Arguments(std::span<const std::string_view> args, std::span<const KnownOption> known) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (options_ended || arg == "-" || !arg.starts_with("-")) {
      positionals_.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    // The one short option: -o for --output.
    const bool short_output = arg == "-o" && IsKnown(known, "output");
    if (!arg.starts_with("--") && !short_output)
      throw UsageError("unknown option '" + std::string(arg) + "'");
    std::string_view name = short_output ? std::string_view("output") : arg.substr(2);
    std::optional<std::string_view> inline_value;
    if (const std::size_t eq = name.find('='); eq != std::string_view::npos) {
      inline_value = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    const auto option = std::find_if(known.begin(), known.end(), [&](const KnownOption& candidate) {
      return candidate.name == name;
    });
    if (option == known.end()) throw UsageError("unknown option '--" + std::string(name) + "'");
    std::string value;
    if (option->takes_value) {
      if (inline_value) {
        value = *inline_value;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        throw UsageError("option '--" + std::string(name) + "' needs a value");
      }
    } else if (inline_value) {
      throw UsageError("option '--" + std::string(name) + "' takes no value");
    }
    values_[std::string(name)].push_back(std::move(value));
  }
}

std::optional<std::string> Arguments::Value(std::string_view name) const {
  const auto it = values_.find(std::string(name));
  if (it == values_.end()) return std::nullopt;
  return it->second.back();
}

std::vector<std::string> Arguments::Values(std::string_view name) const {
  const auto it = values_.find(std::string(name));
  if (it == values_.end()) return {};
  return it->second;
}

int ParseCount(std::string_view option, std::string_view text) {
  if (!AllDigits(text)) {
    throw UsageError("--" + std::string(option) + ": expected a whole number from 0 to 500, got '" +
                     std::string(text) + "'");
  }
  return ClampCount(ReadNumber(text));
}

int ParseWholeNumber(std::string_view option, std::string_view text, int low, int high) {
  const bool negative = text.starts_with("-");
  const std::string_view digits = negative ? text.substr(1) : text;
  const double magnitude = AllDigits(digits) ? ReadNumber(digits) : -1;
  const double value = negative ? -magnitude : magnitude;
  if (magnitude < 0 || value < low || value > high) {
    throw UsageError("--" + std::string(option) + ": expected a whole number from " +
                     std::to_string(low) + " to " + std::to_string(high) + ", got '" +
                     std::string(text) + "'");
  }
  return static_cast<int>(value);
}

}  // namespace orcalc::cli
