#include "cli/cli_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/sheet_file.h"
#include "files/sheet_file_source.h"

namespace orcalc::cli {
namespace {

// Why the last write to standard output failed.
int output_error = 0;

}  // namespace

std::string SheetFileName(const std::string& path) { return path == "-" ? "standard input" : path; }

Sheet ReadSheetFile(const std::string& path) {
  std::optional<std::vector<std::string>> variable_types;
  return ReadSheetFile(path, variable_types);
}

Sheet ReadSheetFile(const std::string& path,
                    std::optional<std::vector<std::string>>& variable_types) {
  const bool from_stdin = path == "-";
  const std::string name = SheetFileName(path);
  // Pipes and devices are read too (a shell's process substitution is a
  // pipe); never further than the sheet file's size limit.
  SheetFileResult result = from_stdin ? files::ReadSheetFileFrom(STDIN_FILENO)
                                      : files::ReadSheetFileAt(path, files::Source::AnyReadable);
  if (!result.ok) throw FileError(name + ": " + result.error);
  variable_types = std::move(result.variable_types);
  return std::move(result.sheet);
}

bool WriteOutput(std::string_view bytes) {
  errno = 0;
  const bool ok =
      (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size()) &&
      std::fflush(stdout) == 0 && !std::ferror(stdout);
  if (!ok) output_error = errno;
  return ok;
}

void PrintOutputError(std::string_view what) {
  const std::string reason = output_error != 0 ? std::strerror(output_error) : "write error";
  PrintError("cannot write " + std::string(what) + " to standard output: " + reason);
}

void PrintError(std::string_view text) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(kProgram.size()), kProgram.data(),
               static_cast<int>(text.size()), text.data());
}

int EmitOutcome(const CalculationOutcome& outcome) {
  for (const std::string& message : outcome.messages) {
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fputc('\n', stderr);
  }
  std::fflush(stderr);
  if (outcome.report && !WriteOutput(*outcome.report)) {
    PrintOutputError("the report");
    return kExitFailure;
  }
  return outcome.messages.empty() ? kExitOk : kExitMessages;
}

}  // namespace orcalc::cli
