// orcalc-cli graph: the listing on standard output, messages, exit statuses,
// and the SVG picture (or its refusal where orcalc-cli draws none).
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_run.h"

namespace {

using namespace orcalc::cli_testing;

std::string Temp(const std::string& name) {
  return ::testing::TempDir() + "/orcalc_graph_" + std::to_string(getpid()) + "_" + name;
}

CliRun Graph(std::vector<std::string> args, const std::string& input = "/dev/null") {
  args.insert(args.begin(), "graph");
  return RunCli(args, input);
}

const std::string kExampleListing =
    "corner 0 0 0 χ1=0 χ2=0\ncorner 4 0 12 χ2=0 约束方程1\ncorner 3 1 11 约束方程1 约束方程2\n"
    "corner 0 2 4 χ1=0 约束方程2\n";

TEST(GraphCli, ListingMessagesAndExitStatus) {
  // clang-format off
  const struct { std::vector<std::string> args; int status; std::string out, err; std::string input = "/dev/null"; } cases[] = {
      {{"--max", Data("lp_example.csv")}, 0, kExampleListing + "optimum 4 0 12\n", ""},
      // Without --max or --min the sheet's sense cell (Max) decides; the sheet from standard input.
      {{"-"}, 0, kExampleListing + "optimum 4 0 12\n", "", Data("lp_example.csv")},
      {{"--min", Data("lp_example.csv")}, 0, kExampleListing + "optimum 0 0 0\n", ""},
      // Only the first constraint: open upwards and to the right.
      {{"--max", "--constraints", "1", Data("lp_example.csv")}, 0,
       "corner 0 0 0 χ1=0 χ2=0\ncorner 4 0 12 χ2=0 约束方程1\ncorner 0 4 8 χ1=0 约束方程1\noptimum 4 0 12\n", ""},
      {{"--max", "--vars", "2", "--constraints", "0", Data("lp_example.csv")}, 0,
       "corner 0 0 0 χ1=0 χ2=0\nopen 0 1\nopen 1 0\nunbounded\n", ""},
      // χ1 + χ2 ≤ 1 and χ1 + χ2 ≥ 3: no picture of a region, and no message.
      {{"--max", Data("lp_graph_parallel.csv")}, 0, "empty\n", ""},
      {{"--max", "--vars", "2", Data("stats_overflow.csv")}, 1, "", "单元格(2,2)的数值超出范围！\n"},
      {{"--max", Data("lp_contradictory.csv")}, 2, "", "orcalc-cli: graph draws problems in 2 variables, not 1 (see --vars)\n"},
      {{"--max", "--min", Data("lp_example.csv")}, 2, "", "orcalc-cli: --max and --min exclude each other\n"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CliRun run = Graph(c.args, c.input);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err);
  }
}

TEST(GraphCli, SvgPicture) {
  const std::string svg = Temp("picture.svg");
  const CliRun run = Graph({"--max", Data("lp_example.csv"), "--svg", svg});
  if (!ORCALC_CLI_DRAWS_PICTURES) {
    // Built without the windows: refused before anything is read.
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
              "orcalc-cli: --svg needs an orcalc-cli built with the Qt windows (ORCALC_GUI=ON)");
    return;
  }
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kExampleListing + "optimum 4 0 12\n");
  EXPECT_EQ(run.err, "");  // Qt says nothing on the way
  const std::string picture = Slurp(svg);
  std::remove(svg.c_str());
  EXPECT_EQ(picture.rfind("<?xml", 0), 0u);
  EXPECT_NE(picture.find("viewBox=\"0 0 800 600\""), std::string::npos);
  EXPECT_NE(picture.find(">约束方程1</text>"), std::string::npos);
  EXPECT_NE(picture.find("</svg>"), std::string::npos);

  // A folder that is not there: the listing, then the failure.
  const CliRun refused = Graph({"--max", Data("lp_example.csv"), "--svg", "/no/such/folder/a.svg"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err.rfind("orcalc-cli: cannot write /no/such/folder/a.svg: ", 0), 0u)
      << refused.err;
}

// The drawing module brings Qt and with it the shared C++ runtime: the
// program that loads it must run on that runtime too, not on one linked
// into it, so that the process has one C++ runtime. The dynamic loader
// names who loads what (LD_DEBUG=files).
TEST(GraphCli, SvgDrawnOnOneCppRuntime) {
  if (!ORCALC_CLI_DRAWS_PICTURES) GTEST_SKIP() << "this orcalc-cli draws no pictures";
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  // The sanitizer's runtime opens every module itself, so the loader cannot
  // say who asked; such a build links no C++ runtime in anyway.
  GTEST_SKIP() << "under a sanitizer the loader names the sanitizer's runtime";
#endif
  const std::string svg = Temp("runtime.svg");
  const std::string log = Temp("runtime.log");
  const int raw =
      std::system(("LD_DEBUG=files '" + std::string(ORCALC_CLI_PATH) + "' graph --max '" +
                   Data("lp_example.csv") + "' --svg '" + svg + "' >/dev/null 2>'" + log + "'")
                      .c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 0);
  const std::string loads = Slurp(log);
  std::remove(svg.c_str());
  std::remove(log.c_str());
  const std::string module = "orcalc-cli-pictures.so [0];  dynamically loaded by ";
  const std::size_t at = loads.find(module);
  ASSERT_NE(at, std::string::npos) << loads.substr(0, 2000);
  const std::size_t from = at + module.size();
  const std::string loader = loads.substr(from, loads.find(" [0]", from) - from);
  EXPECT_NE(loads.find("file=libstdc++.so.6 [0];  needed by " + loader + " [0]"), std::string::npos)
      << loader << " loads the drawing module but does not run on the shared C++ runtime";
}

// What --svg must never replace, and a disk that fills: each refused with
// the reason, the old thing as it was, nothing left beside it. A pipe is not
// opened (it would wait for a reader); a read-only file stays read-only,
// also for the superuser. Each run has a deadline of its own.
TEST(GraphCli, SvgRefusesWhatItMustNotReplace) {
  if (!ORCALC_CLI_DRAWS_PICTURES) GTEST_SKIP() << "this orcalc-cli draws no pictures";
  enum class Target { Fifo, DeviceNode, ReadOnlyFile, FullDisk };
  const struct {
    const char* what;
    Target target;
    std::string reason;
  } cases[] = {
      {"pipe", Target::Fifo, "it is not a regular file"},
      {"device node", Target::DeviceNode, "it is not a regular file"},
      {"read-only file", Target::ReadOnlyFile, "the file is read-only"},
      {"full disk", Target::FullDisk, "error while writing: No space left on device"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string folder = Temp(std::string("svg_") + c.what);
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/picture.svg";
    bool made = false;
    switch (c.target) {
      case Target::Fifo:
        made = ::mkfifo(path.c_str(), 0666) == 0;
        break;
      case Target::DeviceNode:  // a copy of /dev/null, which only the superuser can make
        made = ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
        break;
      case Target::ReadOnlyFile:
        made =
            std::system(("printf old >'" + path + "' && chmod 0444 '" + path + "'").c_str()) == 0;
        break;
      case Target::FullDisk:
        made = ::mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=8k") == 0 &&
               std::system(("head -c 8192 /dev/zero >'" + folder +
                            "/filler' 2>/dev/null; "
                            "printf old >'" +
                            path + "' 2>/dev/null; true")
                               .c_str()) == 0;
        break;
    }
    if (!made) {
      std::filesystem::remove_all(folder);
      std::cout << "skipped: " << c.what << " cannot be made here\n";
      continue;
    }
    struct stat before {};
    ASSERT_EQ(::lstat(path.c_str(), &before), 0);
    const std::string old = S_ISREG(before.st_mode) ? Slurp(path) : "";
    const std::string listing_before = [&] {
      std::string names;
      for (const auto& e : std::filesystem::directory_iterator(folder)) names += e.path().string();
      return names;
    }();
    const std::string err = folder + ".err";
    const int raw =
        std::system(("timeout 30 '" + std::string(ORCALC_CLI_PATH) + "' graph --max '" +
                     Data("lp_example.csv") + "' --svg '" + path + "' >/dev/null 2>'" + err + "'")
                        .c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
    EXPECT_EQ(Slurp(err), "orcalc-cli: cannot write " + path + ": " + c.reason + "\n");
    struct stat after {};
    ASSERT_EQ(::lstat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_ino, before.st_ino);
    if (S_ISREG(before.st_mode)) {
      EXPECT_EQ(Slurp(path), old);
    }
    std::string listing_after;
    for (const auto& e : std::filesystem::directory_iterator(folder))
      listing_after += e.path().string();
    EXPECT_EQ(listing_after, listing_before);
    if (c.target == Target::FullDisk) ::umount2(folder.c_str(), MNT_DETACH);
    std::filesystem::remove_all(folder);
    std::remove(err.c_str());
  }
}

// A full standard output is named with its reason.
TEST(GraphCli, FullOutputNamesItsReason) {
  const CliRun run = RunCli({"graph", "--max", Data("lp_example.csv")}, "/dev/null", ">/dev/full");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err,
            "orcalc-cli: cannot write the listing to standard output: No space left on device\n");
}

}  // namespace
