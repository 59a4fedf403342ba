#include "cli/cli_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "common/sheet_file.h"

namespace orcalc::cli {
namespace {

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Why the last write to standard output failed.
int output_error = 0;

}  // namespace

std::string SheetFileName(const std::string& path) { return path == "-" ? "standard input" : path; }

Sheet ReadSheetFile(const std::string& path) {
  const bool from_stdin = path == "-";
  const std::string name = SheetFileName(path);
  std::unique_ptr<std::FILE, CloseFile> opened;
  std::FILE* file = stdin;
  if (!from_stdin) {
    opened.reset(std::fopen(path.c_str(), "rb"));
    if (!opened) throw FileError(name + ": " + std::strerror(errno));
    file = opened.get();
  }
  // Read piece by piece, so that an endless or huge input stops at the
  // sheet file's size limit.
  std::error_code size_error;
  const std::uintmax_t file_size = from_stdin || !std::filesystem::is_regular_file(path, size_error)
                                       ? 0
                                       : std::filesystem::file_size(path, size_error);
  const auto expected_size = static_cast<std::size_t>(
      size_error ? 0 : std::min<std::uintmax_t>(file_size, kSheetFileMaxBytes));
  SheetFileResult result = ReadSheetCsvFrom(
      [file](char* buffer, std::size_t size) -> long {
        const std::size_t got = std::fread(buffer, 1, size, file);
        if (got == 0 && std::ferror(file)) return -1;
        return static_cast<long>(got);
      },
      expected_size);
  if (!result.ok) throw FileError(name + ": " + result.error);
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
