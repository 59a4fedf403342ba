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

// Called first in main. Where orcalc-cli carries its own C++ runtime (linked
// in), a run that may ask for a picture (an argument "--svg" or
// "--svg=...") becomes, before anything is read, a run of its twin built
// from the same sources on the shared runtime: the drawing module brings Qt
// and with it the shared runtime, and one process must have one C++
// runtime. Returns when there is nothing to hand over, or no twin to hand it
// to (the picture is then refused as when the module is missing).
void HandPictureRunsOver(int argc, char** argv);

}  // namespace orcalc::cli
