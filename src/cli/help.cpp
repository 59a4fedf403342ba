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
    "lp, sensitivity and graph also read model files: MPS (free or fixed form)\n"
    "and CPLEX LP, told by the ending .mps or .lp or by --format mps|lp|sheet. A\n"
    "model becomes the sheet a user would type for it (see lp).\n"
    "\n"
    "--threads N (before the command) splits each pivot of a large problem over\n"
    "N threads (default: all cores); the results do not depend on N.\n"
    "\n"
    "Results for scripts: lp, sensitivity, graph, goal and stats take\n"
    "  --format F         report (the default: the report's bytes exactly), json\n"
    "                     (one object, UTF-8, LF line ends) or csv (the header\n"
    "                     figure,value, then one record per figure, named by its\n"
    "                     path in the JSON object: S, variables.2,\n"
    "                     messages.1.keyword; LF line ends)\n"
    "  -o, --output FILE  write into FILE instead of standard output (created or\n"
    "                     replaced whole; a folder or a read-only file is refused\n"
    "                     before the sheet file is read)\n"
    "  --lf               the report with LF line ends instead of CR LF\n"
    "The messages still go to standard error, and the exit status is the same.\n"
    "The JSON object's \"status\" is one of: optimal, infeasible, unbounded,\n"
    "iteration_limit, cycling, round_off, overflow (a cell or a figure too large\n"
    "for a double), time_limit (with exit status 3), cancelled, done (stats),\n"
    "no_column (stats), not_applicable, and for integer variables\n"
    "no_integer_solution, relaxation_unbounded, node_limit. Its \"messages\" hold\n"
    "each message's \"text\" as shown and its \"keyword\": unbounded, no_optimum,\n"
    "iteration_limit, constraints_broken, tiny_coefficient, unbounded_unverified,\n"
    "infeasible_unverified, numeric_overflow, cell_overflow,\n"
    "sensitivity_not_applicable, round_off, cycling, pivot_limit, no_column,\n"
    "too_few_samples, zero_variance, needs_two_variables, no_integer_solution,\n"
    "relaxation_unbounded, not_proven_optimal, no_integer_solution_found,\n"
    "relaxation_unverified. With integer variables, lp adds \"integer\": the\n"
    "types (continuous, integer, binary), nodes, best_bound, gap, relative_gap\n"
    "and proven_optimal. A number that is not\n"
    "finite is null in JSON, inf, -inf or nan in CSV; a figure not reached is\n"
    "null (an empty field in CSV). A --format of mps, lp or sheet names a model\n"
    "file's form and may be given besides.\n"
    "\n"
    "Commands:\n"
    "  layout lp     print a laid-out linear-programming sheet\n"
    "  layout goal   print a laid-out goal-programming sheet\n"
    "  lp            solve a linear program\n"
    "  sensitivity   sensitivity analysis and dual problem of a linear program\n"
    "  graph         the graphical method for a linear program in 2 variables\n"
    "  steps lp      the simplex tableaux of a linear program, step by step\n"
    "  steps goal    the exchange tables of a goal program, step by step\n"
    "  export        write a linear-programming sheet as a CPLEX LP or MPS model\n"
    "  goal          solve a goal program\n"
    "  stats         statistics of one sheet column\n"
    "  help COMMAND  the usage of one command (also: COMMAND --help)\n"
    "\n"
    "Exit status: 0 without messages, 1 when a message was shown, 2 on a usage\n"
    "error, a sheet file that cannot be read or is refused, or output that\n"
    "cannot be written, 3 when --max-seconds stopped the calculation.\n";

constexpr std::string_view kStepsUsage =
    "Usage: orcalc-cli steps lp [OPTIONS] SHEET.csv\n"
    "       orcalc-cli steps goal [OPTIONS] SHEET.csv\n"
    "\n"
    "The tables of a calculation, step by step, in exact fractions where that is\n"
    "affordable:\n"
    "  steps lp    the simplex tableaux of a linear program (help steps lp)\n"
    "  steps goal  the condensed exchange tables of a goal program, with one\n"
    "              evaluation row per priority level (help steps goal)\n"
    "\n"
    "Example:\n"
    "  orcalc-cli steps goal --format html goals.csv > steps.html\n";

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
                "                    [--max-seconds S] [--format F] [-o FILE] [--lf]\n"
                "                    SHEET.csv\n"
                "  or:  orcalc-cli lp [--format mps|lp] [--max-seconds S] [--format F]\n"
                "                    [-o FILE] [--lf] MODEL\n"
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
                "  --format F       report, json or csv; -o FILE and --lf as described\n"
                "                   under orcalc-cli --help. The JSON object holds\n"
                "                   status, verdict (certified: the verdict was checked\n"
                "                   against the problem as read and holds; not_certified;\n"
                "                   unchecked), sense (max or min), S, variables (χ1…χm),\n"
                "                   pivots and messages\n"
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
                "minimises.\n"
                "\n"
                "  --format F       the file's kind: mps, lp (CPLEX LP) or sheet; by default\n"
                "                   .mps and .lp files are models, anything else a sheet\n"
                "\n"
                "A model file (RANGES, BOUNDS, integer markers; objective constants,\n"
                "bounds, general and binary sections) becomes a sheet: its variables in\n"
                "order as χ1…χm, each lower bound other than 0 shifted out (x = l + χ), an\n"
                "upper bound alone mirrored (x = u - χ), each upper bound and range a row\n"
                "of its own, each free variable split (x = χj - χk), each fixed variable\n"
                "substituted. The report of that sheet is followed by 模型对照: what each\n"
                "χ and each row stands for, the objective constant, the model's objective\n"
                "value (S plus the constant) and every model variable's value. Integer\n"
                "variables make their χ's integer (0-1 when a χ ranges over 0 and 1\n"
                "only), solved by branch and bound; one shifted by, mirrored from or fixed\n"
                "at a bound that is not a whole number is calculated as continuous (a line\n"
                "on standard error says so). A model larger than 500 × 500 as a sheet is\n"
                "refused. --max,\n"
                "--min, --vars and --constraints are for sheets only.\n"},
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
    CommandHelp{"steps goal",
                "Usage: orcalc-cli steps goal [--goals M] [--vars N] [--max-seconds S]\n"
                "                            [--fractions|--decimals]\n"
                "                            [--format text|html|latex|csv] SHEET.csv\n"
                "\n"
                "Solves the goal program as goal does and prints the condensed exchange\n"
                "tables of that very calculation, one per step: one row per basic\n"
                "variable (C_B its weight and level, b its value), one column per nonbasic\n"
                "variable under its weight and level (2P1), θ, and one evaluation row per\n"
                "priority level (P1, P2, ...; the level being minimised marked P2*), the\n"
                "pivot in brackets, a sentence under each table (the pivot, or the end of\n"
                "a level and the columns it removes) and, under the last, why the method\n"
                "stopped. The messages of the calculation go to standard error as for\n"
                "goal, and the exit status is goal's.\n"
                "\n"
                "  --goals, --vars, --max-seconds  as for goal\n"
                "  --fractions, --decimals, --format  as for steps lp; fractions up to 50\n"
                "                   goals and 100 columns (variables and goals)\n"
                "\n"
                "Example:\n"
                "  orcalc-cli steps goal --format html goals.csv > steps.html\n"},
    CommandHelp{"sensitivity",
                "Usage: orcalc-cli sensitivity [--max|--min] [--vars M] [--constraints N] [--csv]\n"
                "                              [--format F] [-o FILE] [--lf] SHEET.csv\n"
                "  or:  orcalc-cli sensitivity [--format mps|lp] [--csv] [--format F]\n"
                "                              [-o FILE] [--lf] MODEL\n"
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
                "  --format F       report, json or csv (not with --csv); -o FILE and --lf\n"
                "                   as described under orcalc-cli --help. The JSON object\n"
                "                   holds lp's figures, then sensitivity (null when the\n"
                "                   analysis does not apply): variables (value,\n"
                "                   reduced_cost, coefficient, lower, upper, basic),\n"
                "                   constraints (activity, shadow_price, rhs, lower,\n"
                "                   upper), dual_objective, degenerate, unique\n"
                "\n"
                "Files too narrow or too short are refused, and without --max or --min the\n"
                "sheet's sense cell decides, as for lp.\n"},
    CommandHelp{"graph",
                "Usage: orcalc-cli graph [--max|--min] [--vars M] [--constraints N] SHEET.csv\n"
                "                        [--svg FILE] [--format F] [-o FILE] [--lf]\n"
                "  or:  orcalc-cli graph [--format mps|lp] [--svg FILE] [--format F]\n"
                "                        [-o FILE] [--lf] MODEL\n"
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
                "  --format F       report (the listing), json or csv; -o FILE and --lf as\n"
                "                   described under orcalc-cli --help. The JSON object\n"
                "                   holds status, sense, S, vertices (x, S, lines: the\n"
                "                   constraints through it, -1 for χ1=0, -2 for χ2=0),\n"
                "                   open_directions, optimum (vertices, numbered from 1,\n"
                "                   and rays: from, direction) and messages\n"
                "\n"
                "Files too narrow or too short are refused, and without --max or --min the\n"
                "sheet's sense cell decides, as for lp.\n"},
    CommandHelp{"export",
                "Usage: orcalc-cli export --format lp|mps [--max|--min] [--vars M]\n"
                "                         [--constraints N] SHEET.csv [-o FILE]\n"
                "\n"
                "Writes the linear program of a linear-programming sheet, as lp reads it,\n"
                "as a model file that other solvers read: variables x1..xm (all at least\n"
                "0), rows c1..cn, objective obj.\n"
                "\n"
                "  --format lp      CPLEX LP\n"
                "  --format mps     free MPS; MPS files minimise, so a maximum is written\n"
                "                   as the minimum of the negated objective\n"
                "  -o, --output FILE  write FILE (replaced only once it is complete)\n"
                "                   instead of standard output\n"
                "  --max, --min, --vars, --constraints  as for lp\n"},
    CommandHelp{"goal",
                "Usage: orcalc-cli goal [--goals M] [--vars N] [--max-seconds S]\n"
                "                       [--format F] [-o FILE] [--lf] SHEET.csv\n"
                "\n"
                "Solves the goal program of a goal-programming sheet, one priority level\n"
                "after the other, and prints the report with one block per pivot.\n"
                "\n"
                "  --goals M  number of goal constraints (default: the sheet's rows - 1)\n"
                "  --vars N   number of decision variables (default: the sheet's columns - 7)\n"
                "  --max-seconds S  stop after S seconds without a report (exit status 3);\n"
                "                   S is greater than 0 and at most 1e9\n"
                "  --format F       report, json or csv; -o FILE and --lf as described\n"
                "                   under orcalc-cli --help. The JSON object holds status,\n"
                "                   then as the final block shows them pivots,\n"
                "                   achievement (one per level), variables,\n"
                "                   negative_deviations and positive_deviations, then\n"
                "                   blocks (every block of the report, each with those five\n"
                "                   figures) and messages\n"
                "\n"
                "A file narrower than 7 fields is refused unless --vars is given.\n"},
    CommandHelp{"stats",
                "Usage: orcalc-cli stats [--goal] --column C [--count N] [--format F]\n"
                "                        [-o FILE] [--lf] SHEET.csv\n"
                "\n"
                "Statistics of one column of a sheet: count, mean, deviations, variance,\n"
                "skewness, kurtosis, minimum, maximum and median.\n"
                "\n"
                "  --column C  the grid column to summarise, counted as the window counts\n"
                "              it: 0 is the header column, 1 the first coefficient column\n"
                "  --count N   number of samples (default: the sheet's rows - 2, or rows - 1\n"
                "              with --goal)\n"
                "  --goal      the sheet is a goal-programming sheet: samples start in grid\n"
                "              row 1 instead of row 2 (below the objective row)\n"
                "  --format F  report, json or csv; -o FILE and --lf as described under\n"
                "              orcalc-cli --help. The JSON object holds status, count,\n"
                "              samples, mean, standard_deviation, average_deviation,\n"
                "              variance, skewness, kurtosis, minimum, maximum, median\n"
                "              and messages\n"},
};

}  // namespace

std::string_view CommandUsage(std::string_view command) {
  if (command == "steps") return kStepsUsage;
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
