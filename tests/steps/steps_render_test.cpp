// The four ways of writing the steps: the pivot marked in each, the HTML
// page well-formed, the LaTeX fragment compiled where pdflatex is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "common/text_width.h"
#include "steps/step_grid.h"
#include "steps/step_render.h"
#include "steps_support.h"

namespace orcalc::steps {
namespace {

StepsDocument TwoPivots() {
  const lp::Sense max = lp::Sense::Maximise;
  return RunSteps(MakeSheet(max, {"2", "3"}, {{"2", "1", "<=", "4"}, {"1", "2", "<=", "5"}}), 2, 2,
                  max)
      .doc;
}

struct RenderCase {
  StepsFormat format;
  const char* name;
  std::vector<std::string> pieces;  // each must appear
};

const RenderCase kRenders[] = {
    // clang-format off
    {StepsFormat::Text, "text", {"  [2]", "[3/2]", "  C_B  X_B", "χ1 进基，χ3 出基，主元为 3/2", "目标函数值 z = 15/2", "S = 8。"}},
    {StepsFormat::Csv, "csv", {"\n表 2\n", ",[3/2],", "C_B,X_B,b,χ1,χ2,χ3,χ4,θ\n", ",σj,,"}},
    {StepsFormat::Html, "html", {"<!DOCTYPE html>", "<td class=\"pivot\">[3/2]</td>", "<th>θ</th>", "@media print", "</html>\n"}},
    {StepsFormat::Latex, "latex", {"\\begin{tabular}{|rrrrrrrr|}", "\\fbox{[$\\frac{3}{2}$]}", "$\\chi_{1}$ 进基", "$-\\frac{1}{3}$", "\\end{tabular}"}},
    // clang-format on
};

TEST(StepsRender, EveryFormatMarksThePivot) {
  const StepsDocument doc = TwoPivots();
  for (const RenderCase& c : kRenders) {
    const std::string out = Render(doc, c.format);
    for (const std::string& piece : c.pieces)
      EXPECT_NE(out.find(piece), std::string::npos) << c.name << " lacks '" << piece << "'";
  }
}

TEST(StepsRender, CsvHasOneBlockPerTable) {
  const StepsDocument doc = TwoPivots();
  const std::string csv = RenderCsv(doc);
  std::size_t blocks = 0;
  for (std::size_t at = csv.find("\n\n表 "); at != std::string::npos;
       at = csv.find("\n\n表 ", at + 1))
    ++blocks;
  EXPECT_EQ(blocks, doc.tableaux.size());
}

bool Have(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string WriteTemporary(const std::string& name, const std::string& text) {
  const std::string path = ::testing::TempDir() + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// Every element closed in order, and void elements never closed.
constexpr const char* kHtmlCheck = R"(
import sys
from html.parser import HTMLParser
VOID = {"meta", "br", "hr", "img", "link", "input"}
class Check(HTMLParser):
    def __init__(self):
        super().__init__()
        self.open = []
    def handle_starttag(self, tag, attrs):
        if tag not in VOID:
            self.open.append(tag)
    def handle_endtag(self, tag):
        if not self.open or self.open.pop() != tag:
            sys.exit("unbalanced </%s>" % tag)
c = Check()
c.feed(open(sys.argv[1], encoding="utf-8").read())
c.close()
sys.exit("unclosed %s" % c.open if c.open else 0)
)";

TEST(StepsRender, HtmlIsWellFormed) {
  if (!Have("python3")) GTEST_SKIP() << "python3 is not installed";
  const std::string script = WriteTemporary("steps_html_check.py", kHtmlCheck);
  const lp::Sense min = lp::Sense::Minimise;
  // Two phases, and a text that needs escaping in no cell but the legend's.
  const StepsDocument doc =
      RunSteps(MakeSheet(min, {"2", "3"}, {{"1", "1", ">=", "4"}, {"1", "2", "=", "6"}}), 2, 2, min)
          .doc;
  const std::string page = WriteTemporary("steps.html", RenderHtml(doc));
  EXPECT_EQ(std::system(("python3 " + script + " " + page).c_str()), 0);
}

// A table wider than a printed line is cut into parts that each lead with
// C_B, X_B and b, hold every other column once and in order, and fit.
TEST(StepsRender, WideTablesAreCutIntoPartsThatFit) {
  Grid grid;
  for (int r = 0; r < 3; ++r) {
    std::vector<GridCell> row{{"C_B"}, {"X_B"}, {"b"}};
    for (int c = 1; c <= 9; ++c)
      row.push_back({r == 1 && c == 4 ? "-2347/34625" : "χ" + std::to_string(c)});
    grid.push_back(std::move(row));
  }
  // Widths with the padding of 3: 6, 6, 4 lead; χ1…χ9 5 each, the fraction 14.
  const std::vector<Grid> parts = SplitColumns(grid, 3, 40, 3);
  std::vector<std::string> seen;
  for (const Grid& part : parts) {
    ASSERT_GE(part.front().size(), 4u);
    EXPECT_EQ(part.front()[0].text, "C_B");
    EXPECT_EQ(part.front()[2].text, "b");
    std::size_t width = 0;
    for (std::size_t c = 0; c < part.front().size(); ++c) {
      std::size_t widest = 0;
      for (const auto& row : part) widest = std::max(widest, DisplayWidth(row[c].text));
      width += widest + 3;
    }
    EXPECT_LE(width, 40u);
    for (std::size_t c = 3; c < part.front().size(); ++c) seen.push_back(part.front()[c].text);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"χ1", "χ2", "χ3", "χ4", "χ5", "χ6", "χ7", "χ8", "χ9"}));
  EXPECT_EQ(parts.size(), 3u);  // χ1…χ3, χ4…χ6 (16 + 14 + 5 + 5), χ7…χ9
  EXPECT_EQ(SplitColumns(grid, 3, 0, 3).size(), 1u);  // no limit: whole
  // A column wider than the line still gets a part of its own.
  EXPECT_EQ(SplitColumns(grid, 3, 10, 3).size(), 9u);
  // The page: one table per part, each with its own heading row.
  const std::string page = RenderHtml(TwoPivots(), 30);
  std::size_t tables = 0;
  for (std::size_t at = 0; (at = page.find("<table>", at)) != std::string::npos; ++at) ++tables;
  EXPECT_GT(tables, TwoPivots().tableaux.size());
}

TEST(StepsRender, LatexCompiles) {
  if (!Have("pdflatex")) GTEST_SKIP() << "pdflatex is not installed";
  const std::string body = RenderLatex(TwoPivots());
  const std::string tex =
      WriteTemporary("steps.tex",
                     "\\documentclass{article}\\usepackage{amsmath}\\usepackage{CJKutf8}\n"
                     "\\begin{document}\\begin{CJK}{UTF8}{gbsn}\n" +
                         body + "\\end{CJK}\\end{document}\n");
  const std::string command =
      "cd " + ::testing::TempDir() +
      " && pdflatex -interaction=batchmode -halt-on-error steps.tex >/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0);
}

}  // namespace
}  // namespace orcalc::steps
