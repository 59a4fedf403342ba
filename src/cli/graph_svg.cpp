#include "cli/graph_svg.h"

#if ORCALC_CLI_PICTURES

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "cli/pictures/graph_svg_module.h"
#include "files/file_writer.h"

namespace orcalc::cli {
namespace {

// The drawing module: beside the program in the build tree, or where it is
// installed relative to the program's folder.
GraphSvgDrawer LoadDrawer(std::string& error) {
  std::vector<std::filesystem::path> candidates;
  std::error_code failed;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
  if (!failed) {
    candidates.push_back(program.parent_path() / kGraphSvgModuleName);
    candidates.push_back(program.parent_path() / ORCALC_CLI_PICTURES_DIR / kGraphSvgModuleName);
  }
  candidates.emplace_back(kGraphSvgModuleName);  // the library search path
  error = "cannot load the drawing module " + std::string(kGraphSvgModuleName);
  for (const std::filesystem::path& candidate : candidates) {
    if (candidate.has_parent_path() && !std::filesystem::exists(candidate, failed)) continue;
    // Kept loaded until the program ends.
    void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
      error += std::string(": ") + dlerror();
      continue;
    }
    if (void* function = dlsym(module, kGraphSvgFunctionName)) {
      return reinterpret_cast<GraphSvgDrawer>(function);
    }
    error += std::string(": ") + dlerror();
  }
  return nullptr;
}

}  // namespace

bool CanDrawPictures() { return true; }

bool WriteGraphSvg(const std::string& path, const lp::GraphGeometry& geometry, std::string& error) {
  // Refused before Qt is started for the drawing.
  const files::WriteOutcome target = files::CheckWriteTarget(path);
  if (!target.ok()) {
    error = files::DescribeWriteFailure(target);
    return false;
  }
  const GraphSvgDrawer draw = LoadDrawer(error);
  if (!draw) return false;
  std::string svg;
  char reason[512] = {};
  const GraphSvgSink take = [](void* context, const char* data, std::size_t size) {
    static_cast<std::string*>(context)->assign(data, size);
  };
  if (!draw(&geometry, take, &svg, reason, sizeof reason)) {
    error = reason;
    return false;
  }
  const files::WriteOutcome written = files::WriteFileAtomically(path, svg);
  if (written.ok()) return true;
  error = files::DescribeWriteFailure(written);
  return false;
}

}  // namespace orcalc::cli

#else

namespace orcalc::cli {

bool CanDrawPictures() { return false; }

bool WriteGraphSvg(const std::string&, const lp::GraphGeometry&, std::string& error) {
  error = "this orcalc-cli draws no pictures";
  return false;
}

}  // namespace orcalc::cli

#endif
