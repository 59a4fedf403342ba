// The picture of orcalc-cli graph --svg: drawn by the windows' drawing code,
// which a module loaded only then brings along, when orcalc-cli is built with
// the Qt windows; refused otherwise.
#pragma once

#include <string>

#include "geometry/graph_geometry.h"

namespace orcalc::cli {

// Whether this orcalc-cli can draw pictures.
bool CanDrawPictures();

// Writes the picture of `geometry` to `path` as SVG, replacing the file only
// once all of it is written. False, with the reason in `error`, on failure.
// Loads the drawing module and starts Qt (without a display) for the fonts.
bool WriteGraphSvg(const std::string& path, const lp::GraphGeometry& geometry, std::string& error);

}  // namespace orcalc::cli
