// Usage errors are reported before the sheet file is opened: with a FIFO
// that no one writes to (opening it would wait for ever; each run has a
// deadline), and with a file the command would refuse, the usage message
// comes and no message about the file.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_run.h"

namespace {

using namespace orcalc::cli_testing;

TEST(UsageBeforeReading, EveryUsageErrorComesFirst) {
  const std::string stem = ::testing::TempDir() + "/orcalc_usage_" + std::to_string(getpid());
  const std::string fifo = stem + "_fifo";
  const std::string refused = stem + "_line.txt";  // one field: no sheet of any kind
  std::remove(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::ofstream(refused, std::ios::binary) << "not a sheet\n";
  const std::string counts = ": expected a whole number from 0 to 500, got ";
  const std::string seconds =
      "--max-seconds takes a number of seconds greater than 0 and at most 1e9, got ";
  // The arguments, FILE standing for the sheet file; the usage message.
  // clang-format off
  const struct { std::vector<std::string> args; std::string message; } cases[] = {
      {{"lp", "--bogus", "FILE"}, "unknown option '--bogus'"},
      {{"lp", "--vars", "x", "FILE"}, "--vars" + counts + "'x'"},
      {{"sensitivity", "--constraints", "-1", "FILE"}, "--constraints" + counts + "'-1'"},
      {{"lp", "--max-seconds", "0", "FILE"}, seconds + "'0'"},
      {{"goal", "--max-seconds=1e10", "FILE"}, seconds + "'1e10'"},
      {{"goal", "--goals", "1.5", "FILE"}, "--goals" + counts + "'1.5'"},
      {{"goal", "--vars", "", "FILE"}, "--vars" + counts + "''"},
      {{"graph", "--vars", "3", "FILE"}, "graph draws problems in 2 variables, not 3 (see --vars)"},
      {{"graph", "--constraints", "many", "FILE"}, "--constraints" + counts + "'many'"},
      {{"graph", "--max", "--min", "FILE"}, "--max and --min exclude each other"},
      {{"stats", "--column", "1", "--count", "x", "FILE"}, "--count" + counts + "'x'"},
      {{"--threads", "0", "lp", "FILE"}, "--threads: expected a whole number from 1 to 256, got '0'"},
      {{"lp", "FILE", "FILE"}, "one sheet file only, got 'FILE' as well"},
      {{"goal", "--max-seconds", "5"}, "missing the sheet file (SHEET.csv, or - for standard input)"},
      {{"stats", "--column", "1", "--format", "xml", "FILE"},
       "--format takes report, csv or json (mps, lp or sheet for a model file), got 'xml'"},
      {{"lp", "--format", "json", "--format", "mps", "--format=csv", "FILE"},
       "--format json and --format csv exclude each other"},
      {{"sensitivity", "--csv", "--format", "json", "FILE"},
       "--csv is a report of its own; it excludes --format csv and --format json"},
      {{"graph", "-o", "", "FILE"}, "--output needs a file name"},
      {{"lp", "--format", "xml", "FILE"},
       "--format takes mps, lp or sheet (the file) and report, csv or json (the output), got 'xml'"},
      {{"graph", "--format=mps", "--min", "FILE"},
       "--min is for sheet files; a model file states its own size and sense"},
      {{"export", "--format", "sheet", "FILE"}, "export needs one --format, lp or mps"},
  };
  // clang-format on
  for (const std::string& file : {fifo, refused}) {
    for (const auto& c : cases) {
      std::vector<std::string> args = c.args;
      std::string message = c.message;
      for (std::string& arg : args) arg = arg == "FILE" ? file : arg;
      if (const std::size_t at = message.find("FILE"); at != std::string::npos)
        message.replace(at, 4, file);
      SCOPED_TRACE(::testing::PrintToString(args));
      const CliRun run = RunCli(args, "/dev/null", "", "timeout 10");
      EXPECT_EQ(run.status, 2);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err, "orcalc-cli: " + message + "\nTry 'orcalc-cli --help'.\n");
    }
  }
  std::remove(fifo.c_str());
  std::remove(refused.c_str());
}

}  // namespace
