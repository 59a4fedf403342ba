#include "cli/cli_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/sheet_file.h"

namespace orcalc::cli {
namespace {

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// All bytes of an open stream; false on a read error.
bool ReadAll(std::FILE* file, std::string& bytes) {
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  return !std::ferror(file);
}

}  // namespace

Sheet ReadSheetFile(const std::string& path) {
  const bool from_stdin = path == "-";
  const std::string name = from_stdin ? "standard input" : path;
  std::string bytes;
  if (from_stdin) {
    if (!ReadAll(stdin, bytes)) throw FileError(name + ": " + std::strerror(errno));
  } else {
    std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path.c_str(), "rb"));
    if (!file) throw FileError(name + ": " + std::strerror(errno));
    if (!ReadAll(file.get(), bytes)) throw FileError(name + ": " + std::strerror(errno));
  }
  SheetFileResult result = ReadSheetCsv(bytes);
  if (!result.ok) throw FileError(name + ": " + result.error);
  return std::move(result.sheet);
}

bool WriteOutput(std::string_view bytes) {
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
    return false;
  return std::fflush(stdout) == 0 && !std::ferror(stdout);
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
    PrintError(std::string("cannot write the report: ") + std::strerror(errno));
    return kExitFailure;
  }
  return outcome.messages.empty() ? kExitOk : kExitMessages;
}

}  // namespace orcalc::cli
