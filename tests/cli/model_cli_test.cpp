// Model files on the command line: lp, sensitivity and graph read them by
// their ending or --format, export writes them; faults name file and line.
#include <unistd.h>

#include <fstream>
#include <string>

#include "cli/cli_run.h"

namespace {

using namespace orcalc::cli_testing;

std::string Scratch(const std::string& name) {
  return ::testing::TempDir() + "/orcalc_model_" + std::to_string(getpid()) + "_" + name;
}

TEST(ModelCli, ModelsReadByEndingOrFormat) {
  // The model is the example sheet's problem: its report is the sheet's,
  // followed by the section that maps it back.
  const std::string report = Slurp(Data("lp_example_report.txt"));
  const std::string as_text = TempFile("example.txt", Slurp(Data("lp_example.lp")));
  const std::string integer =
      TempFile("integer.lp", "max\n 2 x + y\nst\n x + y <= 3.5\ngeneral\n x\nend\n");
  const std::string relaxed = TempFile(
      "relaxed.lp", "max\n 2 x + y\nst\n x + y <= 3.5\nbounds\n x >= 0.25\ngeneral\n x\nend\n");
  const std::string broken =
      TempFile("broken.mps", "ROWS\n N obj\n L c1\nCOLUMNS\n x c2 1\nENDATA\n");
  // clang-format off
  const struct { std::vector<std::string> args; int status; std::string out, err; } cases[] = {
      {{"lp", Data("lp_example.lp")}, 0, report + "\r\n---------模型对照---------\r\n", ""},
      {{"lp", "--format", "lp", as_text}, 0, report, ""},
      {{"lp", "--format=mps", "--format=report", Data("lp_example.mps")}, 0,
       "模型目标函数最小值 = S + 常数项 = -12\r\n", ""},
      {{"sensitivity", Data("lp_example.lp")}, 0, "", ""},
      {{"graph", Data("lp_example.mps")}, 0, "optimum 4 0 -12\n", ""},
      {{"lp", integer}, 0, "x = 3\r\n", ""},
      {{"sensitivity", integer}, 1, "", "问题含有整数变量，灵敏度分析不适用！\n"},
      {{"lp", relaxed}, 0, "x = 3.5\r\n",
       "模型中有 1 个整数变量的边界不是整数，无法保持整数要求，已按连续变量计算\n"},
      {{"lp", broken}, 2, "",
       "orcalc-cli: 模型文件“" + broken + "”第 5 行：行“c2”没有在 ROWS 段中定义\n"},
      {{"lp", "--format", "mps", "--format", "lp", broken}, 2, "",
       "orcalc-cli: --format names two kinds of file\nTry 'orcalc-cli --help'.\n"},
      {{"lp", "--vars", "2", broken}, 2, "",
       "orcalc-cli: --vars is for sheet files; a model file states its own size and sense\n"
       "Try 'orcalc-cli --help'.\n"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front() + " " + c.args.back());
    const CliRun run = RunCli(c.args, "/dev/null");
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    EXPECT_EQ(run.err, c.err);
  }
  for (const std::string& path : {as_text, integer, relaxed, broken}) std::remove(path.c_str());
}

// A sheet exported in either format reads back as the same problem: the
// model's report starts with the sheet's own report.
TEST(ModelCli, ExportedSheetsReadBack) {
  const std::string report = Slurp(Data("lp_example_report.txt"));
  for (const std::string format : {"lp", "mps"}) {
    SCOPED_TRACE(format);
    const std::string model = Scratch("exported." + format);
    const CliRun exported =
        RunCli({"export", "--format", format, Data("lp_example.csv"), "-o", model}, "/dev/null");
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.err, "");
    const CliRun solved = RunCli({"lp", model}, "/dev/null");
    EXPECT_EQ(solved.status, 0);
    if (format == "lp") {
      EXPECT_EQ(solved.out.substr(0, report.size()), report);
    }
    // MPS minimises: the maximum 12 as the minimum -12.
    if (format == "mps") {
      EXPECT_NE(solved.out.find("目标函数值 S = -12\r\n"), std::string::npos);
    }
    std::remove(model.c_str());
  }
  const CliRun no_format = RunCli({"export", Data("lp_example.csv")}, "/dev/null");
  EXPECT_EQ(no_format.status, 2);
  EXPECT_EQ(no_format.err,
            "orcalc-cli: export needs one --format, lp or mps\nTry 'orcalc-cli --help'.\n");
}

}  // namespace
