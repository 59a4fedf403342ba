// The entry point of the module that draws orcalc-cli graph --svg.
#pragma once

#include <cstddef>

#include "lp/graph_geometry.h"

// The module's file name, and the name of its one function.
inline constexpr const char* kGraphSvgModuleName = "orcalc-cli-pictures.so";
inline constexpr const char* kGraphSvgFunctionName = "orcalc_write_graph_svg";

// Writes the picture of `geometry` to `path` as SVG, replacing the file only
// once all of it is written. On failure returns false with the reason in
// `error` (at most error_size bytes, NUL included).
extern "C" bool orcalc_write_graph_svg(const orcalc::lp::GraphGeometry* geometry, const char* path,
                                       char* error, std::size_t error_size);
using GraphSvgWriter = decltype(&orcalc_write_graph_svg);
