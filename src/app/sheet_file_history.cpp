#include "app/sheet_file_history.h"

#include <algorithm>

namespace orcalc::ui {

bool SheetFileHistory::differsFromFile(const std::string& bytes) const {
  const QString& file = files_[current_];
  if (file.isEmpty()) return false;
  const auto held = held_.find(file);
  return held == held_.end() || held->second != bytes;
}

void SheetFileHistory::push(int index, const QString& path) {
  files_.resize(static_cast<std::size_t>(std::max(index, 0)) + 1);
  files_.push_back(path);
}

void SheetFileHistory::reach(int index) {
  current_ = std::min(static_cast<std::size_t>(std::max(index, 0)), files_.size() - 1);
}

void SheetFileHistory::connect(const QString& path, std::string bytes) {
  files_[current_] = path;
  held_[path] = std::move(bytes);
}

}  // namespace orcalc::ui
