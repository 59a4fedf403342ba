// CPLEX LP model files.
#pragma once

#include <string_view>

#include "models/model_reading.h"

namespace orcalc::models {

// "minimize"/"maximize" (and their short forms) with an optionally named
// objective; "subject to" ("such that", "st", "s.t.") with named or
// unnamed rows; "bounds" ("-inf <= x <= 4", "x >= -2", "x free", "x = 3");
// "general"/"generals"/"gen", "integer", "binary"/"binaries"/"bin"; "end".
// Constants may stand on either side of a row and in the objective. "\"
// starts a comment that runs to the end of the line. Keywords in any case;
// variables in the order they first appear.
ModelReadResult ReadCplexLp(std::string_view text, std::string_view file_name);

}  // namespace orcalc::models
