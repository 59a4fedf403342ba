#include "cli/help.h"

#include <array>

#include "common/version.h"

namespace orcalc::cli {
namespace {

struct CommandHelp {
  std::string_view name;
  std::string_view usage;
};

constexpr std::string_view kOverview =
    "Usage: orcalc-cli [--threads N] COMMAND [OPTIONS] [SHEET.csv]\n"
    "  or:  orcalc-cli help [COMMAND]\n"
    "  or:  orcalc-cli --version\n"
    "\n"
    "The calculations of the orcalc windows on sheet files: the whole grid of a\n"
    "sheet window as CSV, header row and column included. A report goes to\n"
    "standard output exactly as the results window shows it (UTF-8, CR LF line\n"
    "ends); each message the window would show goes to standard error as one\n"
    "line. SHEET.csv may be - to read standard input; it may be UTF-8, UTF-16\n"
    "with a byte-order mark or GB18030/GBK, with commas, semicolons or tabs\n"
    "between fields, and may hold at most 1000 records of at most 1000 fields,\n"
    "and at most 64 MB. Counts are whole numbers; larger than 500 counts as 500.\n"
    "A count not given is taken from the sheet's shape, and a file narrower or\n"
    "shorter than the smallest sheet of the command's kind is then refused: a\n"
    "linear-programming sheet has at least 3 fields and 2 records, a\n"
    "goal-programming sheet at least 7 fields and 1 record. Every option is\n"
    "checked before the sheet file is read.\n"
    "\n"
    "--threads N (before the command) splits each pivot of a large problem over\n"
    "N threads (default: all cores); the results do not depend on N.\n"
    "\n"
    "Commands:\n"
    "  layout lp     print a laid-out linear-programming sheet\n"
    "  layout goal   print a laid-out goal-programming sheet\n"
    "  lp            solve a linear program\n"
    "  sensitivity   sensitivity analysis and dual problem of a linear program\n"
    "  graph         the graphical method for a linear program in 2 variables\n"
    "  steps lp      the simplex tableaux of a linear program, step by step\n"
    "  goal          solve a goal program\n"
    "  stats         statistics of one sheet column\n"
    "  help COMMAND  the usage of one command (also: COMMAND --help)\n"
    "\n"
    "Exit status: 0 without messages, 1 when a message was shown, 2 on a usage\n"
    "error, a sheet file that cannot be read or is refused, or output that\n"
    "cannot be written, 3 when --max-seconds stopped the calculation.\n";

constexpr std::array kCommands = {
    CommandHelp{"layout lp",
                "Usage: orcalc-cli layout lp --vars M --constraints N [--max]\n"
                "\n"
                "Prints, as CSV, the sheet that OK lays out on a fresh linear-programming\n"
                "window for M variables and N constraints.\n"
                "\n"
                "  --vars M         number of variables\n"
                "  --constraints N  number of constraints\n"
                "  --max            write \" Max \" into the sense cell (default \" Min \")\n"},
    CommandHelp{"layout goal",
                "Usage: orcalc-cli layout goal --goals M --vars N\n"
                "\n"
                "Prints, as CSV, the sheet that OK lays out on a fresh goal-programming\n"
                "window for M goals and N variables.\n"
                "\n"
                "  --goals M  number of goal constraints\n"
                "  --vars N   number of decision variables\n"},
    CommandHelp{"lp",
                "Usage: orcalc-cli lp [--max|--min] [--vars M] [--constraints N]\n"
                "                    [--integer LIST] [--binary LIST] [--max-nodes N]\n"
                "                    [--max-seconds S] SHEET.csv\n"
                "\n"
                "Solves the linear program of a linear-programming sheet by the two-phase\n"
                "simplex method and prints the report of the results window.\n"
                "\n"
                "  --max            maximise the objective\n"
                "  --min            minimise the objective\n"
                "  --vars M         number of variables (default: the sheet's columns - 3)\n"
                "  --constraints N  number of constraints (default: the sheet's rows - 2)\n"
                "  --integer LIST   these variables take whole numbers >= 0 (LIST: 1-based\n"
                "                   numbers and ranges, e.g. 1,3-5)\n"
                "  --binary LIST    these variables take 0 or 1\n"
                "  --max-nodes N    search at most N nodes (default 100000)\n"
                "  --max-seconds S  stop after S seconds without a report (exit status 3);\n"
                "                   S is greater than 0 and at most 1e9\n"
                "\n"
                "A file narrower than 3 fields is refused unless --vars is given, one\n"
                "shorter than 2 records unless --constraints is.\n"
                "\n"
                "Integer programming: a record after the last constraint row may give each\n"
                "variable's type, 变量类型 followed by one field per variable: 连续\n"
                "(continuous), 整数 (whole number) or 0-1. For example, with 3 variables:\n"
                "  变量类型,整数,0-1,连续\n"
                "--integer and then --binary override it. When any variable is not\n"
                "continuous, branch and bound finds the best whole-number solution: the\n"
                "report is the linear-programming report of that solution, followed by\n"
                "the section 整数规划 (the types, the nodes searched, the best bound and\n"
                "the gap, and the search tree). When --max-nodes or --max-seconds ends\n"
                "the search, the report shows the best solution found and a message says\n"
                "it is not proven optimal, or that none was found (exit status 1).\n"
                "\n"
                "Without --max or --min the sheet's sense cell (objective row, last column)\n"
                "decides: Max (blanks removed, any case) maximises, anything else\n"
                "minimises.\n"},
    CommandHelp{"steps lp",
                "Usage: orcalc-cli steps lp [--max|--min] [--vars M] [--constraints N]\n"
                "                          [--max-seconds S] [--fractions|--decimals]\n"
                "                          [--format text|html|latex|csv] SHEET.csv\n"
                "\n"
                "Solves the linear program as lp does and prints the simplex tableaux of\n"
                "that very calculation, one per step: C_B, X_B, b, one column per variable\n"
                "(decision, then slack and surplus, then the artificial variables of the\n"
                "first phase), θ, the costs c_j and the reduced costs σj = cj - zj, the\n"
                "pivot in brackets, a sentence under each table and, under the last, why\n"
                "the method stopped. The messages of the calculation go to standard error\n"
                "as for lp, and the exit status is lp's.\n"
                "\n"
                "  --max, --min, --vars, --constraints, --max-seconds  as for lp\n"
                "  --fractions      exact fractions, read from the cells' texts (default);\n"
                "                   a table larger than 50 rows or 100 columns, or a replay\n"
                "                   longer than 2 seconds, is shown in decimals instead\n"
                "  --decimals       decimals in any case\n"
                "  --format F       text (aligned columns, the default), html (one page),\n"
                "                   latex (a fragment of tabulars) or csv (one block per\n"
                "                   table); LF line ends\n"
                "\n"
                "Where round-off swayed a choice of the calculation, the table says what\n"
                "exact arithmetic would have chosen.\n"},
    CommandHelp{"sensitivity",
                "Usage: orcalc-cli sensitivity [--max|--min] [--vars M] [--constraints N] [--csv]\n"
                "                              SHEET.csv\n"
                "\n"
                "Solves the linear program as lp does; when the optimum is found without a\n"
                "message, prints the sensitivity analysis (values, reduced costs, shadow\n"
                "prices and their ranges) and the dual problem, otherwise the messages.\n"
                "\n"
                "  --max            maximise the objective\n"
                "  --min            minimise the objective\n"
                "  --vars M         number of variables (default: the sheet's columns - 3)\n"
                "  --constraints N  number of constraints (default: the sheet's rows - 2)\n"
                "  --csv            print CSV instead (kind,index,value,rate,current,lower,\n"
                "                   upper; LF line ends; infinite bounds inf and -inf),\n"
                "                   closed by the records degenerate,0,V and unique,0,V\n"
                "                   (V 1 or 0, as the report's note says)\n"
                "\n"
                "Files too narrow or too short are refused, and without --max or --min the\n"
                "sheet's sense cell decides, as for lp.\n"},
    CommandHelp{"graph",
                "Usage: orcalc-cli graph [--max|--min] [--vars M] [--constraints N] SHEET.csv\n"
                "                        [--svg FILE]\n"
                "\n"
                "The graphical method for a linear program in 2 variables: one line per\n"
                "corner of the feasible region (corner X1 X2 S and the lines through it),\n"
                "the open directions of an unbounded region, then the optimum (optimum\n"
                "X1 X2 S, optimum-ray X1 X2 D1 D2 S), unbounded or empty.\n"
                "\n"
                "  --max            maximise the objective\n"
                "  --min            minimise the objective\n"
                "  --vars M         number of variables, which must be 2 (default: the\n"
                "                   sheet's columns - 3)\n"
                "  --constraints N  number of constraints (default: the sheet's rows - 2)\n"
                "  --svg FILE       also draw the picture into FILE as SVG\n"
                "\n"
                "Files too narrow or too short are refused, and without --max or --min the\n"
                "sheet's sense cell decides, as for lp.\n"},
    CommandHelp{"goal",
                "Usage: orcalc-cli goal [--goals M] [--vars N] [--max-seconds S] SHEET.csv\n"
                "\n"
                "Solves the goal program of a goal-programming sheet, one priority level\n"
                "after the other, and prints the report with one block per pivot.\n"
                "\n"
                "  --goals M  number of goal constraints (default: the sheet's rows - 1)\n"
                "  --vars N   number of decision variables (default: the sheet's columns - 7)\n"
                "  --max-seconds S  stop after S seconds without a report (exit status 3);\n"
                "                   S is greater than 0 and at most 1e9\n"
                "\n"
                "A file narrower than 7 fields is refused unless --vars is given.\n"},
    CommandHelp{"stats",
                "Usage: orcalc-cli stats [--goal] --column C [--count N] SHEET.csv\n"
                "\n"
                "Statistics of one column of a sheet: count, mean, deviations, variance,\n"
                "skewness, kurtosis, minimum, maximum and median.\n"
                "\n"
                "  --column C  the grid column to summarise, counted as the window counts\n"
                "              it: 0 is the header column, 1 the first coefficient column\n"
                "  --count N   number of samples (default: the sheet's rows - 2, or rows - 1\n"
                "              with --goal)\n"
                "  --goal      the sheet is a goal-programming sheet: samples start in grid\n"
                "              row 1 instead of row 2 (below the objective row)\n"},
};

}  // namespace

std::string_view CommandUsage(std::string_view command) {
  if (command == "steps") command = "steps lp";  // the only kind of steps so far
  for (const CommandHelp& help : kCommands) {
    if (help.name == command) return help.usage;
  }
  return {};
}

std::string FullHelp() {
  std::string text(kOverview);
  // Each command under a heading of its own, its usage indented below it.
  for (const CommandHelp& help : kCommands) {
    text += "\n";
    text += help.name;
    text += ":\n";
    for (std::size_t at = 0; at < help.usage.size();) {
      std::size_t end = help.usage.find('\n', at);
      if (end == std::string_view::npos) end = help.usage.size();
      const std::string_view line = help.usage.substr(at, end - at);
      if (!line.empty()) text.append("  ").append(line);
      text += "\n";
      at = end + 1;
    }
  }
  return text;
}

std::string VersionText() { return std::string("orcalc-cli ") + kVersion + "\n" + kVersionNotice; }

}  // namespace orcalc::cli
