// Running orcalc-cli as a user does, for the CLI tests: a command line,
// standard input from a file, standard output and error read back.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace orcalc::cli_testing {

struct CliRun {
  int status = -1;
  std::string out, err;
};

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline std::string Data(const std::string& name) {
  return std::string(ORCALC_TEST_DATA) + "/" + name;
}

inline std::string Quoted(const std::string& text) {
  std::string q = "'";
  for (char c : text) c == '\'' ? q.append("'\\''") : q.append(1, c);
  return q.append("'");
}

// A file holding `bytes` in the temporary folder, its name marked with the
// process (test cases may run in parallel).
inline std::string TempFile(const std::string& name, const std::string& bytes) {
  const std::string path =
      ::testing::TempDir() + "/orcalc_" + std::to_string(getpid()) + "_" + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// `output` redirects standard output instead of the file the run reads back
// (">/dev/full", ">&-"); `launcher` comes before the program ("timeout 5").
inline CliRun RunCli(const std::vector<std::string>& args, const std::string& input,
                     const std::string& output = "", const std::string& launcher = "") {
  // Per process: test cases may run in parallel.
  const std::string stem = ::testing::TempDir() + "/orcalc_cli_" + std::to_string(getpid());
  std::string command = launcher.empty() ? "" : launcher + " ";
  command += Quoted(ORCALC_CLI_PATH);
  for (const std::string& arg : args) command.append(" ").append(Quoted(arg));
  command.append(" <").append(Quoted(input)).append(" ");
  if (output.empty()) {
    command.append(">").append(Quoted(stem + "_out"));
  } else {
    command.append(output);
  }
  command.append(" 2>").append(Quoted(stem + "_err"));
  const int raw = std::system(command.c_str());
  CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(stem + "_out"), Slurp(stem + "_err")};
  std::remove((stem + "_out").c_str());
  std::remove((stem + "_err").c_str());
  return run;
}

}  // namespace orcalc::cli_testing
