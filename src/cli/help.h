// The help texts of orcalc-cli: an overview, and the usage of each command.
#pragma once

#include <string>
#include <string_view>

namespace orcalc::cli {

// The usage of one command ("lp", "layout lp", …); empty for an unknown one.
std::string_view CommandUsage(std::string_view command);

// The overview followed by every command's usage: what --help prints.
std::string FullHelp();

// "orcalc-cli VERSION" and the licence lines: what --version prints.
std::string VersionText();

}  // namespace orcalc::cli
