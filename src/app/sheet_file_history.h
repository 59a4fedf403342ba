// Which file the sheet belongs to at each point of a sheet window's undo
// history, and what the window last read from or wrote into each file. An
// undo or redo that crosses an open or a Save As brings back the file of the
// sheet it shows, so that saving never writes a sheet into a file it did not
// come from.
#pragma once

#include <QString>
#include <map>
#include <string>
#include <vector>

namespace orcalc::ui {

class SheetFileHistory {
 public:
  // The file of the sheet shown now; empty when it belongs to none.
  QString path() const { return files_[current_]; }

  // Whether `bytes`, the sheet as the window would write it now, differ from
  // what its file held when the window last read or wrote it. False when the
  // sheet belongs to no file.
  bool differsFromFile(const std::string& bytes) const;

  // A step is pushed on the undo stack at `index` (the stack's index before
  // the push): the states after `index` are dropped, and the state the step
  // makes belongs to `path`.
  void push(int index, const QString& path);

  // Undo, redo or a push has reached the state at `index`.
  void reach(int index);

  // The sheet shown now belongs to `path`, which holds `bytes`: after it was
  // opened from there or saved there.
  void connect(const QString& path, std::string bytes);

 private:
  std::vector<QString> files_{QString()};  // one for each state of the stack
  std::size_t current_ = 0;
  std::map<QString, std::string> held_;  // each file's bytes as last read or written
};

}  // namespace orcalc::ui
