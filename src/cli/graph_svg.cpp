#include "cli/graph_svg.h"

#if ORCALC_CLI_PICTURES

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/pictures/graph_svg_module.h"
#include "files/file_writer.h"

namespace orcalc::cli {
namespace {

// Where a file of the drawing's own may be: beside the program in the build
// tree, or where it is installed relative to the program's folder.
std::vector<std::filesystem::path> BesideTheProgram(const char* name) {
  std::vector<std::filesystem::path> candidates;
  std::error_code failed;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
  if (!failed) {
    candidates.push_back(program.parent_path() / name);
    candidates.push_back(program.parent_path() / ORCALC_CLI_PICTURES_DIR / name);
  }
  return candidates;
}

#ifndef ORCALC_CLI_SVG_TWIN

// The drawing module, loaded and kept until the program ends.
GraphSvgDrawer LoadDrawer(std::string& error) {
  std::vector<std::filesystem::path> candidates = BesideTheProgram(kGraphSvgModuleName);
  candidates.emplace_back(kGraphSvgModuleName);  // the library search path
  std::error_code failed;
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

#endif

}  // namespace

bool CanDrawPictures() { return true; }

#ifdef ORCALC_CLI_SVG_TWIN

void HandPictureRunsOver(int argc, char** argv) {
  bool picture = false;
  for (int i = 1; i < argc && !picture; ++i) {
    const std::string_view arg = argv[i];
    picture = arg == "--svg" || arg.starts_with("--svg=");
  }
  if (!picture) return;
  for (const std::filesystem::path& twin : BesideTheProgram(ORCALC_CLI_SVG_TWIN)) {
    execv(twin.c_str(), argv);  // returns only when it fails
  }
}

#else

void HandPictureRunsOver(int, char**) {}

#endif

bool WriteGraphSvg(const std::string& path, const lp::GraphGeometry& geometry, std::string& error) {
  // Refused before Qt is started for the drawing.
  const files::WriteOutcome target = files::CheckWriteTarget(path);
  if (!target.ok()) {
    error = files::DescribeWriteFailure(target);
    return false;
  }
#ifdef ORCALC_CLI_SVG_TWIN
  // The twin could not be started, and this program's runtime must not meet
  // the module's.
  (void)geometry;
  error = std::string("cannot load the drawing module ") + kGraphSvgModuleName +
          ": it needs " ORCALC_CLI_SVG_TWIN ", which cannot be started";
  return false;
#else
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
#endif
}

}  // namespace orcalc::cli

#else

namespace orcalc::cli {

bool CanDrawPictures() { return false; }

bool WriteGraphSvg(const std::string&, const lp::GraphGeometry&, std::string& error) {
  error = "this orcalc-cli draws no pictures";
  return false;
}

void HandPictureRunsOver(int, char**) {}

}  // namespace orcalc::cli

#endif
