// The JSON and CSV writers of the results for scripts: what a strict JSON
// reader reads back, and the CSV records' names and quoting.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "common/csv_figures.h"
#include "common/json_reader.h"
#include "common/json_writer.h"

namespace orcalc {
namespace {

using testing::JsonValue;
using testing::ParseJson;

// Writes one of each kind of figure, nested as the results nest them.
void WriteSample(ResultWriter& out, const std::vector<double>& numbers, std::string_view text) {
  out.BeginObject();
  out.Text("status", text);
  WriteNumbers(out, "numbers", numbers);
  out.BeginArray("blocks");
  out.BeginObject();
  out.Flag("unique", true);
  out.Null("S");
  out.EndObject();
  out.BeginArray();
  out.EndArray();
  out.EndArray();
  WriteMessages(out,
                {{"no_optimum", "无最优解！"}, {"cell_overflow", "单元格(2,3)的数值超出范围！"}});
  out.EndObject();
}

TEST(ResultWriter, JsonReadsBackExactly) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<double> numbers = {0.1,     -0.0,    1e20,        1.5e-7,     1.0 / 3,
                                       DBL_MAX, DBL_MIN, 4.9e-324,    -12345.678, 1e15,
                                       inf,     -inf,    std::nan("")};
  const std::string text = "quote \" backslash \\ line\nfeed tab\t bell\x07 中文 ≤";
  JsonWriter json;
  WriteSample(json, numbers, text);
  const std::string written = json.Take();
  ASSERT_EQ(written.find('\r'), std::string::npos);
  ASSERT_EQ(written.back(), '\n');
  const JsonValue read = ParseJson(written);
  EXPECT_EQ(read["status"].text, text);
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const JsonValue& number = read["numbers"][i];
    if (std::isfinite(numbers[i])) {
      ASSERT_EQ(number.kind, JsonValue::Kind::Number) << i;
      EXPECT_EQ(number.number, numbers[i]) << i;  // every digit kept
    } else {
      EXPECT_EQ(number.kind, JsonValue::Kind::Null) << i;
    }
  }
  EXPECT_TRUE(read["blocks"][0]["unique"].flag);
  EXPECT_EQ(read["blocks"][0]["S"].kind, JsonValue::Kind::Null);
  EXPECT_TRUE(read["blocks"][1].items.empty());
  EXPECT_EQ(read["messages"][1]["keyword"].text, "cell_overflow");
  EXPECT_EQ(read["messages"][1]["text"].text, "单元格(2,3)的数值超出范围！");
}

TEST(ResultWriter, CsvNamesEachFigureByItsPath) {
  CsvFigureWriter csv;
  WriteSample(csv, {2.5, -std::numeric_limits<double>::infinity()}, "say \"x\", then y");
  EXPECT_EQ(csv.Take(),
            "figure,value\n"
            "status,\"say \"\"x\"\", then y\"\n"
            "numbers.1,2.5\n"
            "numbers.2,-inf\n"
            "blocks.1.unique,true\n"
            "blocks.1.S,\n"
            "messages.1.keyword,no_optimum\n"
            "messages.1.text,无最优解！\n"
            "messages.2.keyword,cell_overflow\n"
            "messages.2.text,\"单元格(2,3)的数值超出范围！\"\n");
}

}  // namespace
}  // namespace orcalc
