// The steps as an HTML page and as a LaTeX fragment.

#include "steps/step_grid.h"
#include "steps/step_number_text.h"
#include "steps/step_render.h"

namespace orcalc::steps {
namespace {

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

constexpr const char* kPageHead =
    "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<title>单纯形表</title>\n<style>\n"
    "body { font-family: serif; margin: 2em; }\n"
    "table { border-collapse: collapse; margin: 0.5em 0; page-break-inside: avoid; }\n"
    "th, td { border: 1px solid #444; padding: 0.2em 0.6em; text-align: right; "
    "white-space: nowrap; }\n"
    "th { background: #eee; }\n"
    "td.pivot { color: #b00000; font-weight: bold; background: #fde8e8; }\n"
    "p.round-off { color: #b00000; }\n"
    "section { page-break-inside: avoid; }\n"
    "@media print { body { margin: 0; } th { background: none; } }\n"
    "</style>\n</head>\n<body>\n";

void AppendHtmlTable(std::string& out, const Grid& grid) {
  out += "<table>\n";
  for (const auto& row : grid) {
    out += "<tr>";
    for (const GridCell& cell : row) {
      if (cell.heading) {
        out += "<th>" + Escape(cell.text) + "</th>";
      } else if (cell.pivot) {
        out += "<td class=\"pivot\">[" + Escape(cell.text) + "]</td>";
      } else {
        out += "<td>" + Escape(cell.text) + "</td>";
      }
    }
    out += "</tr>\n";
  }
  out += "</table>\n";
}

// The end of the run of digits from `at` (`at` itself when there is none).
std::size_t DigitsEnd(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  return at;
}

void Append(std::string& out, std::initializer_list<std::string_view> pieces) {
  for (std::string_view piece : pieces) out.append(piece.data(), piece.size());
}

// Each fraction "-3/2" (an optional minus, digits, a slash, digits) as
// $\frac{-3}{2}$, leftmost first.
std::string FractionMarks(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t digits = text[i] == '-' ? i + 1 : i;
    const std::size_t slash = DigitsEnd(text, digits);
    const std::size_t end = slash < text.size() && text[slash] == '/' && slash > digits
                                ? DigitsEnd(text, slash + 1)
                                : slash;
    if (end > slash + 1) {
      Append(out, {"$\\frac{", text.substr(i, slash - i), "}{",
                   text.substr(slash + 1, end - slash - 1), "}$"});
      i = end;
    } else {
      out += text[i++];
    }
  }
  return out;
}

// χ12 as $\chi_{12}$ and σj as $\sigma_j$.
std::string MathMarks(std::string_view text) {
  constexpr std::string_view kChi = "χ", kSigma = "σj";
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t end = DigitsEnd(text, i + kChi.size());
    if (text.substr(i, kChi.size()) == kChi && end > i + kChi.size()) {
      Append(out, {"$\\chi_{", text.substr(i + kChi.size(), end - i - kChi.size()), "}$"});
      i = end;
    } else if (text.substr(i, kSigma.size()) == kSigma) {
      Append(out, {"$\\sigma_j$"});
      i += kSigma.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

// LaTeX special characters escaped, variables as \chi_{j} and fractions as
// \frac in math mode.
std::string LatexText(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (std::string_view("&%$#_{}").find(c) != std::string_view::npos) {
      out += '\\';
      out += c;
    } else if (c == '~' || c == '^' || c == '\\') {
      out += c == '\\'  ? "\\textbackslash{}"
             : c == '~' ? "\\textasciitilde{}"
                        : "\\textasciicircum{}";
    } else {
      out += c;
    }
  }
  return MathMarks(FractionMarks(out));
}

}  // namespace

std::string RenderHtml(const StepsDocument& doc, std::size_t most_width) {
  std::string out = kPageHead;
  out += doc.exact ? "<h1>单纯形表（精确分数）</h1>\n" : "<h1>单纯形表（小数）</h1>\n";
  for (const std::string& line : doc.legend) out += "<p>" + Escape(line) + "</p>\n";
  for (const std::string& line : doc.notes) out += "<p class=\"note\">" + Escape(line) + "</p>\n";
  GridStyle style;
  style.number = NumberText;
  style.name = [](const StepColumn& column) { return column.name; };
  for (std::size_t t = 0; t < doc.tableaux.size(); ++t) {
    const StepTableau& table = doc.tableaux[t];
    out += "<section>\n<h2>" + Escape(TableTitle(doc, t)) + "</h2>\n";
    // C_B, X_B and b lead every part; a cell's padding and borders take
    // about three columns of the face.
    for (const Grid& part : SplitColumns(TableGrid(doc, table, style), 3, most_width, 3))
      AppendHtmlTable(out, part);
    const std::string objective = ObjectiveLine(doc, table, NumberText(table.objective));
    if (!objective.empty()) out += "<p>" + Escape(objective) + "</p>\n";
    if (!table.sentence.empty()) out += "<p>" + Escape(table.sentence) + "</p>\n";
    if (!table.round_off.empty())
      out += "<p class=\"round-off\">" + Escape(table.round_off) + "</p>\n";
    out += "</section>\n";
  }
  out += "<p class=\"ending\">" + Escape(doc.ending) + "</p>\n</body>\n</html>\n";
  return out;
}

std::string RenderLatex(const StepsDocument& doc) {
  std::string out = "% 单纯形表; needs \\usepackage{amsmath} and a CJK set-up (CJKutf8 or ctex)\n";
  for (const std::string& line : doc.legend) out += LatexText(line) + "\n\n";
  for (const std::string& line : doc.notes) out += LatexText(line) + "\n\n";
  GridStyle style;
  style.number = [](const StepNumber& number) {
    std::string math(1, '$');  // not "$" + ...: GCC 12 warns falsely of overlap there
    math += LatexNumber(number);
    math += '$';
    return math;
  };
  style.name = [](const StepColumn& column) { return LatexText(column.name); };
  style.cost = "$c_j$";
  style.basis_cost = "$C_B$";
  style.basis = "$X_B$";
  style.rhs = "$b$";
  style.sigma = "$\\sigma_j$";
  style.theta = "$\\theta$";
  for (std::size_t t = 0; t < doc.tableaux.size(); ++t) {
    const StepTableau& table = doc.tableaux[t];
    const Grid grid = TableGrid(doc, table, style);
    out += "\\noindent " + LatexText(TableTitle(doc, t)) + "\n\n\\begin{tabular}{|" +
           std::string(grid.front().size(), 'r') + "|}\n\\hline\n";
    for (const auto& row : grid) {
      for (std::size_t c = 0; c < row.size(); ++c) {
        out += c ? " & " : "";
        out += row[c].pivot ? "\\fbox{[" + row[c].text + "]}" : row[c].text;
      }
      out += " \\\\\n\\hline\n";
    }
    out += "\\end{tabular}\n\n";
    const std::string objective = ObjectiveLine(doc, table, NumberText(table.objective));
    if (!objective.empty()) out += LatexText(objective) + "\n\n";
    if (!table.sentence.empty()) out += LatexText(table.sentence) + "\n\n";
    if (!table.round_off.empty()) out += LatexText(table.round_off) + "\n\n";
  }
  return out + LatexText(doc.ending) + "\n";
}

}  // namespace orcalc::steps
