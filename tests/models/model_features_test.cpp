// Each feature of the two model formats, with the sheet the model must
// become, and the faults a model file is refused for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "models/model_reading.h"
#include "models/model_report.h"
#include "models/model_sheet.h"

namespace orcalc::models {
namespace {

// The sheet's rows below the header, each as its cells (column 1 on)
// joined by commas, blanks around signs and the sense removed.
std::vector<std::string> SheetRows(const Sheet& sheet) {
  std::vector<std::string> rows;
  for (int r = 1; r < sheet.rows(); ++r) {
    std::string row;
    for (int c = 1; c < sheet.cols(); ++c) {
      std::string cell = sheet.Cell(r, c);
      while (!cell.empty() && cell.front() == ' ') cell.erase(0, 1);
      while (!cell.empty() && cell.back() == ' ') cell.pop_back();
      row += (c > 1 ? "," : "") + cell;
    }
    rows.push_back(row);
  }
  return rows;
}

struct FeatureCase {
  const char* feature;
  ModelFormat format;
  std::vector<std::string> rows;  // objective row first
  double constant;
  const char* text;
};

// An MPS model around one column section, one RHS section and more.
constexpr ModelFormat kMps = ModelFormat::Mps, kLp = ModelFormat::CplexLp;
// clang-format off
const FeatureCase kFeatures[] = {
    {"UP bound", kMps, {"1,═,Min", "1,≤,9", "1,≤,4"}, 0,
     "NAME t\nROWS\n N obj\n L c1\nCOLUMNS\n x obj 1 c1 1\nRHS\n RHS c1 9\nBOUNDS\n UP BND x 4\n"
     "ENDATA\n"},
    {"LO bound shifted out", kMps, {"3,═,Min", "2,≥,6"}, 6,
     "NAME t\nROWS\n N obj\n G c1\nCOLUMNS\n x obj 3 c1 2\nRHS\n RHS c1 10\nBOUNDS\n LO BND x 2\n"
     "ENDATA\n"},
    {"negative LO bound", kMps, {"1,═,Min", "1,≤,4"}, -3,
     "NAME t\nROWS\n N obj\n L c1\nCOLUMNS\n x obj 1 c1 1\nRHS\n RHS c1 1\nBOUNDS\n LO BND x -3\n"
     "ENDATA\n"},
    {"LO and UP: one row for the range", kMps, {"1,═,Min", "1,≤,7", "1,≤,4"}, 1,
     "NAME t\nROWS\n N obj\n L c1\nCOLUMNS\n x obj 1 c1 1\nRHS\n RHS c1 8\nBOUNDS\n LO BND x 1\n"
     " UP BND x 5\nENDATA\n"},
    {"FX substituted", kMps, {"1,═,Min", "1,═,2"}, 6,
     "NAME t\nROWS\n N obj\n E c1\nCOLUMNS\n x obj 2 c1 1\n y obj 1 c1 1\nRHS\n RHS c1 5\n"
     "BOUNDS\n FX BND x 3\nENDATA\n"},
    {"FR split", kMps, {"1,-1,═,Min", "1,-1,≥,-2"}, 0,
     "NAME t\nROWS\n N obj\n G c1\nCOLUMNS\n x obj 1 c1 1\nRHS\n RHS c1 -2\nBOUNDS\n FR BND x\nENDATA\n"},
    {"MI with UP mirrored", kMps, {"-1,═,Min", "-1,≤,1"}, 2,
     "NAME t\nROWS\n N obj\n L c1\nCOLUMNS\n x obj 1 c1 1\nRHS\n RHS c1 3\nBOUNDS\n MI BND x\n"
     " UP BND x 2\nENDATA\n"},
    {"negative UP with lower 0 means MI", kMps, {"-1,═,Min", "-1,≤,4"}, -1,
     "NAME t\nROWS\n N obj\n L c1\nCOLUMNS\n x obj 1 c1 1\nRHS\n RHS c1 3\nBOUNDS\n UP BND x -1\n"
     "ENDATA\n"},
    {"PL keeps the default", kMps, {"1,═,Min", "1,≤,3"}, 0,
     "NAME t\nROWS\n N obj\n L c1\nCOLUMNS\n x obj 1 c1 1\nRHS\n RHS c1 3\nBOUNDS\n PL BND x\nENDATA\n"},
    {"BV, LI, UI integers", kMps, {"1,1,═,Min", "1,1,≤,2", "1,,≤,1", ",1,≤,5"}, 1,
     "NAME t\nROWS\n N obj\n L c1\nCOLUMNS\n x obj 1 c1 1\n y obj 1 c1 1\nRHS\n RHS c1 3\n"
     "BOUNDS\n BV BND x\n LI BND y 1\n UI BND y 6\nENDATA\n"},
    {"MARKER integers without bounds are 0/1", kMps, {"-1,-1,═,Min", "1,1,≤,3", "1,,≤,1"}, 0,
     "NAME t\nROWS\n N obj\n L c1\nCOLUMNS\n M1 'MARKER' 'INTORG'\n x obj -1 c1 1\n"
     " M2 'MARKER' 'INTEND'\n y obj -1 c1 1\nRHS\n RHS c1 3\nENDATA\n"},
    {"RANGES on L, G, E above and E below", kMps,
     {"1,═,Min", "1,≥,6", "1,≤,10", "1,≥,2", "1,≤,5", "1,≥,5", "1,≤,7", "1,≥,3", "1,≤,5"}, 0,
     "NAME t\nROWS\n N obj\n L a\n G b\n E c\n E d\nCOLUMNS\n x obj 1 a 1\n x b 1 c 1\n x d 1\n"
     "RHS\n RHS a 10 b 2\n RHS c 5 d 5\nRANGES\n RNG a 4 b -3\n RNG c 2 d -2\nENDATA\n"},
    {"objective constant from RHS", kMps, {"1,═,Min", "1,≤,3"}, 7,
     "NAME t\nROWS\n N obj\n L c1\nCOLUMNS\n x obj 1 c1 1\nRHS\n RHS obj -7 c1 3\nENDATA\n"},
    {"OBJSENSE MAX, comments, second N row dropped", kMps, {"2,═,Max", "1,≤,3"}, 0,
     "* a comment\nNAME t\nOBJSENSE\n    MAX\nROWS\n N obj\n N other\n L c1\nCOLUMNS\n* another\n"
     " x obj 2 other 5\n x c1 1\nRHS\n c1 3\nENDATA\n"},
    {"fixed form with blanks in names", kMps, {"1,2,═,Min", "1,1,≤,4", ",1,≤,3"}, 0,
     "NAME          FIXED\nROWS\n N  COST\n L  LIM 1\nCOLUMNS\n"
     "    X ONE     COST      1.0            LIM 1     1.0\n"
     "    X TWO     COST      2.0            LIM 1     1.0\nRHS\n    RHS       LIM 1     4.0\n"
     "BOUNDS\n UP BND       X TWO     3.0\nENDATA\n"},
    {"LP: constants on both sides, comments", kLp, {"3,2,═,Max", "1,2,≤,4", "-1,,≤,-2"}, 5,
     "\\ a comment\nMaximize\n obj: 3 x + 2 y + 5 \\ the constant\nSubject To\n"
     " c1: x + y + 1 <= 5 - y\n c2: 2 <= x\nEnd\n"},
    {"LP: bounds of every form", kLp, {"1,1,-1,-1,1,═,Min", "1,1,-1,-1,1,≥,-2", "1,,,,,≤,5"}, 3,
     "min\n obj: a + b + c + d + e\nst\n r: a + b + c + d + e >= 1\nbounds\n -2 <= a <= 3\n"
     " b free\n c <= 4\n -inf <= c\n d = 2\n e >= -1\nend\n"},
    {"LP: general and binary, ranged row", kLp, {"-1,-1,═,Min", "1,1,≥,1", "1,1,≤,4", ",1,≤,1"}, 0,
     "Minimize\n - x - y\nSubject To\n r: 1 <= x + y <= 4\nGeneral\n x\nBinary\n y\nEnd\n"},
};
// clang-format on

TEST(ModelFeatures, EachBecomesTheSheetAUserWouldType) {
  for (const FeatureCase& c : kFeatures) {
    SCOPED_TRACE(c.feature);
    const ModelReadResult read = ReadModel(c.text, c.format, "t");
    ASSERT_TRUE(read.ok) << read.error;
    const ModelSheet sheet = ConvertModelToSheet(read.model);
    ASSERT_TRUE(sheet.ok) << sheet.error;
    EXPECT_EQ(SheetRows(sheet.sheet), c.rows);
    EXPECT_EQ(sheet.constant, c.constant);
    EXPECT_TRUE(sheet.notices.empty());
    EXPECT_EQ(sheet.chi_meanings.size(), static_cast<std::size_t>(sheet.variables));
    EXPECT_EQ(sheet.row_meanings.size(), static_cast<std::size_t>(sheet.constraints));
  }
}

// The types of the χ's, one letter each: C continuous, I integer, B 0-1.
std::string TypeLetters(const std::vector<integer::VariableType>& types) {
  std::string letters;
  for (integer::VariableType type : types)
    letters += type == integer::VariableType::Binary    ? 'B'
               : type == integer::VariableType::Integer ? 'I'
                                                        : 'C';
  return letters;
}

TEST(ModelFeatures, IntegerVariablesBecomeTypes) {
  const struct {
    const char* feature;
    const char* bounds;  // the model's bounds and integer sections
    const char* types;
    int notices;
  } cases[] = {
      {"shifted by a whole lower bound", "bounds\n 2 <= x <= 7\ngeneral\n x\n", "IC", 0},
      {"0-1 by its bounds", "bounds\n x <= 1\ngeneral\n x\n", "BC", 0},
      {"0-1 as a range of one", "bounds\n 3 <= x <= 4\ngeneral\n x\n", "BC", 0},
      {"binary section", "binary\n x y\n", "BB", 0},
      {"mirrored from a whole upper bound", "bounds\n -inf <= x <= 4\ngeneral\n x\n", "IC", 0},
      {"free: both parts integer", "bounds\n x free\ngeneral\n x\n", "IIC", 0},
      {"fixed at a whole number: no χ", "bounds\n x = 2\ngeneral\n x\n", "C", 0},
      {"shifted by a fraction", "bounds\n 1.5 <= x\ngeneral\n x y\n", "CI", 1},
      {"mirrored from a fraction", "bounds\n -inf <= x <= 2.5\ngeneral\n x\n", "CC", 1},
      {"fixed at a fraction", "bounds\n x = 2.5\ngeneral\n x\n", "C", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.feature);
    const std::string text =
        std::string("max\n obj: x + y\nst\n r: x + y <= 10\n") + c.bounds + "end\n";
    const ModelReadResult read = ReadModel(text, ModelFormat::CplexLp, "t");
    ASSERT_TRUE(read.ok) << read.error;
    const ModelSheet sheet = ConvertModelToSheet(read.model);
    ASSERT_TRUE(sheet.ok) << sheet.error;
    EXPECT_EQ(TypeLetters(sheet.types), c.types);
    EXPECT_EQ(static_cast<int>(sheet.notices.size()), c.notices);
  }
}

TEST(ModelFeatures, IntegerModelSolvedByBranchAndBound) {
  // x = 0.5 + χ1 cannot stay integer (calculated as continuous); y = χ2
  // can: the relaxation's y = 2.4 is cut to 2.
  const ModelReadResult read = ReadModel(
      "max\n obj: x + y\nst\n r: x + y <= 3.4\nbounds\n 0.5 <= x <= 1\ngeneral\n x y\nend\n",
      ModelFormat::CplexLp, "t");
  ASSERT_TRUE(read.ok) << read.error;
  const ModelSheet sheet = ConvertModelToSheet(read.model);
  ASSERT_EQ(TypeLetters(sheet.types), "CI");
  integer::IntegerRequest request;
  request.types = sheet.types;
  std::optional<integer::SolvedInteger> solved;
  const CalculationOutcome outcome = CalculateIntegerModel(sheet, request, &solved);
  ASSERT_TRUE(solved && solved->result.incumbent);
  EXPECT_EQ(solved->result.outcome, integer::IntegerOutcome::Optimal);
  EXPECT_EQ(ModelValues(sheet, solved->result.incumbent->x), (std::vector<double>{1, 2}));
  ASSERT_TRUE(outcome.report);
  EXPECT_NE(outcome.report->find("整数规划"), std::string::npos);
  EXPECT_NE(outcome.report->find("模型对照"), std::string::npos);
}

TEST(ModelFeatures, FaultsNameTheFileTheLineAndWhat) {
  const struct {
    ModelFormat format;
    const char* text;
    const char* error;
  } cases[] = {
      {ModelFormat::Mps, "ROWS\n N obj\n Q c1\nENDATA\n",
       "模型文件“m”第 3 行：行的类型应为 N、L、G 或 E，而不是“Q”"},
      {ModelFormat::Mps, "ROWS\n N obj\nCOLUMNS\n x c9 1\nENDATA\n",
       "模型文件“m”第 4 行：行“c9”没有在 ROWS 段中定义"},
      {ModelFormat::Mps, "ROWS\n N obj\nCOLUMNS\n x obj 1\nBOUNDS\n XX BND x 1\nENDATA\n",
       "模型文件“m”第 6 行：边界类型应为 UP、LO、FX、FR、MI、PL、BV、LI 或 UI，而不是“XX”"},
      {ModelFormat::Mps, "ROWS\n N obj\nCOLUMNS\n x obj 1e\nENDATA\n",
       "模型文件“m”第 4 行：“1e”不是数"},
      {ModelFormat::Mps, "ROWS\n N obj\n", "模型文件“m”：文件在 ENDATA 之前就结束了"},
      {ModelFormat::Mps, "QUADOBJ\nENDATA\n", "模型文件“m”第 1 行：不认识的段“QUADOBJ”"},
      {ModelFormat::CplexLp, "min\n x\nst\n c: x + y\nend\n",
       "模型文件“m”第 5 行：约束“c”缺少关系符号（<=、>=、=），而不是“end”"},
      {ModelFormat::CplexLp, "st\n c: x >= 1\n",
       "模型文件“m”：缺少目标函数（minimize 或 maximize）"},
      {ModelFormat::CplexLp, "min\n x\nst\n c: x >= 1\n c: x <= 2\n",
       "模型文件“m”第 5 行：约束“c”重复定义"},
      {ModelFormat::CplexLp, "min\n x\nbounds\n x <=\n",
       "模型文件“m”第 4 行：边界中关系符号之后应为数，但文件已结束"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const ModelReadResult read = ReadModel(c.text, c.format, "m");
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, c.error);
  }
}

TEST(ModelFeatures, TooLargeAfterConversionSaysHowLarge) {
  // 300 free variables become 600 χ's.
  std::string text = "min\n obj:";
  for (int j = 1; j <= 300; ++j) text += " + x" + std::to_string(j);
  text += "\nst\n c: x1 >= 0\nbounds\n";
  for (int j = 1; j <= 300; ++j) text += " x" + std::to_string(j) + " free\n";
  const ModelReadResult read = ReadModel(text, ModelFormat::CplexLp, "big.lp");
  ASSERT_TRUE(read.ok) << read.error;
  const ModelSheet sheet = ConvertModelToSheet(read.model);
  EXPECT_FALSE(sheet.ok);
  EXPECT_EQ(sheet.error, "模型转换为表格后有 1 个约束方程、600 个变量，超过了 500 × 500 的上限");
}

// Reading stops once a model has more variables than any sheet could take.
TEST(ModelFeatures, HugeModelsStopEarly) {
  std::string text = "min\n obj:";
  for (std::size_t j = 0; j <= kMaxModelEntities; ++j) text += " + x" + std::to_string(j) + "\n";
  text += "st\n c: x1 >= 0\n";
  const ModelReadResult read = ReadModel(text, ModelFormat::CplexLp, "huge.lp");
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.error, "模型文件“huge.lp”第 100002 行：" + TooManyEntities());
}

}  // namespace
}  // namespace orcalc::models
