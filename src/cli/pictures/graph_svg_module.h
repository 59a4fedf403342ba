// The entry point of the module that draws orcalc-cli graph --svg.
#pragma once

#include <cstddef>

#include "geometry/graph_geometry.h"

// The module's file name, and the name of its one function.
inline constexpr const char* kGraphSvgModuleName = "orcalc-cli-pictures.so";
inline constexpr const char* kGraphSvgFunctionName = "orcalc_draw_graph_svg";

// Takes the drawn picture's bytes (called once, on success).
using GraphSvgSink = void (*)(void* context, const char* data, std::size_t size);

// Draws the picture of `geometry` as SVG and hands its bytes to `sink`
// with `context`. The caller writes the file. On failure returns false with
// the reason in `error` (at most error_size bytes, NUL included).
extern "C" bool orcalc_draw_graph_svg(const orcalc::lp::GraphGeometry* geometry, GraphSvgSink sink,
                                      void* context, char* error, std::size_t error_size);
using GraphSvgDrawer = decltype(&orcalc_draw_graph_svg);
