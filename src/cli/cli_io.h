// What every command of orcalc-cli shares: reading a sheet file, writing
// a calculation's outcome, exit statuses.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/calculation.h"
#include "common/sheet.h"

namespace orcalc::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitMessages = 1;  // the calculation showed at least one message
inline constexpr int kExitFailure = 2;   // usage error, unreadable file, failed output

inline constexpr std::string_view kProgram = "orcalc-cli";

// Reading a sheet file failed; the text names the file and what is wrong.
class FileError : public std::exception {
 public:
  explicit FileError(std::string text) : text_(std::move(text)) {}
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  std::string text_;
};

// How messages name the sheet file at `path`: "standard input" for "-".
std::string SheetFileName(const std::string& path);

// Reads the sheet file at `path` ("-" reads standard input), within the
// sheet files' limits. Throws FileError.
Sheet ReadSheetFile(const std::string& path);
// The same, with the fields of the file's variable-types record, when it
// has one.
Sheet ReadSheetFile(const std::string& path,
                    std::optional<std::vector<std::string>>& variable_types);

// Each message as one line on standard error, then the report's bytes
// exactly on standard output. Returns the exit status.
int EmitOutcome(const CalculationOutcome& outcome);

// Writes `bytes` to standard output exactly; false when writing failed
// (a closed or full output, for example).
bool WriteOutput(std::string_view bytes);

// "orcalc-cli: cannot write <what> to standard output: <reason>" on
// standard error, with the reason the last WriteOutput failed.
void PrintOutputError(std::string_view what);

// "orcalc-cli: <text>" on standard error.
void PrintError(std::string_view text);

}  // namespace orcalc::cli
