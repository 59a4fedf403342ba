// The steps as plain text and as CSV.
#include <algorithm>

#include "common/text_width.h"
#include "steps/step_grid.h"
#include "steps/step_number_text.h"
#include "steps/step_render.h"

namespace orcalc::steps {
namespace {

GridStyle PlainStyle() {
  GridStyle style;
  style.number = NumberText;
  style.name = [](const StepColumn& column) { return column.name; };
  return style;
}

std::string Heading(const StepsDocument& doc) {
  std::string text = doc.exact ? "单纯形表（精确分数）\n" : "单纯形表（小数）\n";
  for (const std::string& line : doc.legend) text += line + "\n";
  for (const std::string& line : doc.notes) text += line + "\n";
  return text;
}

// The pivot as [3/2].
std::string Bracketed(const GridCell& cell) {
  if (!cell.pivot) return cell.text;
  std::string text(1, '[');
  text.append(cell.text).push_back(']');
  return text;
}

void AppendGrid(std::string& out, const Grid& grid) {
  std::vector<std::size_t> widths;
  for (const auto& row : grid) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::size_t width = DisplayWidth(row[c].text) + (row[c].pivot ? 2 : 0);
      widths[c] = std::max(widths[c], width);
    }
  }
  for (const auto& row : grid) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      line += "  ";
      AppendPadLeft(line, Bracketed(row[c]), widths[c]);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out += line + "\n";
  }
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string RenderText(const StepsDocument& doc) {
  std::string out = Heading(doc);
  const GridStyle style = PlainStyle();
  for (std::size_t t = 0; t < doc.tableaux.size(); ++t) {
    const StepTableau& table = doc.tableaux[t];
    out += '\n';
    out += TableTitle(doc, t);
    out += '\n';
    AppendGrid(out, TableGrid(doc, table, style));
    const std::string objective = ObjectiveLine(doc, table, NumberText(table.objective));
    if (!objective.empty()) out += objective + "\n";
    if (!table.sentence.empty()) out += table.sentence + "\n";
    if (!table.round_off.empty()) out += table.round_off + "\n";
  }
  out += '\n';
  out += doc.ending;
  out += '\n';
  return out;
}

std::string RenderCsv(const StepsDocument& doc) {
  std::string out;
  auto record = [&](const std::vector<std::string>& fields) {
    for (std::size_t f = 0; f < fields.size(); ++f) {
      if (f > 0) out += ',';
      out += CsvField(fields[f]);
    }
    out += "\n";
  };
  for (const std::string& line : doc.legend) record({"说明", line});
  for (const std::string& line : doc.notes) record({"注", line});
  const GridStyle style = PlainStyle();
  for (std::size_t t = 0; t < doc.tableaux.size(); ++t) {
    const StepTableau& table = doc.tableaux[t];
    out += "\n";
    record({TableTitle(doc, t)});
    for (const auto& row : TableGrid(doc, table, style)) {
      std::vector<std::string> fields;
      fields.reserve(row.size());
      for (const GridCell& cell : row) fields.push_back(Bracketed(cell));
      record(fields);
    }
    const std::string objective = ObjectiveLine(doc, table, NumberText(table.objective));
    if (!objective.empty()) record({objective});
    if (!table.sentence.empty()) record({table.sentence});
    if (!table.round_off.empty()) record({table.round_off});
  }
  out += "\n";
  record({doc.ending});
  return out;
}

std::string Render(const StepsDocument& doc, StepsFormat format) {
  switch (format) {
    case StepsFormat::Csv:
      return RenderCsv(doc);
    case StepsFormat::Html:
      return RenderHtml(doc);
    case StepsFormat::Latex:
      return RenderLatex(doc);
    case StepsFormat::Text:
      break;
  }
  return RenderText(doc);
}

}  // namespace orcalc::steps
