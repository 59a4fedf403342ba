// The one way the program reads a sheet file from a path: never more than a
// sheet file may hold, and, for the windows, never anything that could
// block (a pipe with no writer, a device).
#pragma once

#include <string>

#include "files/sheet_file.h"

namespace orcalc::files {

enum class Source {
  RegularFileOnly,  // anything else is refused before it is opened (NotRegular)
  AnyReadable,      // pipes and devices too, as a command line hands them over
};

// Reads and decodes the sheet file at `path`. A regular file larger than
// kSheetFileMaxBytes is refused without being read; anything else is read
// no further than one byte beyond the limit. Problems: OpenFailed and
// ReadFailed (with errno), NotRegular, and those of ReadSheetCsv.
SheetFileResult ReadSheetFileAt(const std::string& path, Source source);

// The same from an open descriptor (standard input), which stays open.
SheetFileResult ReadSheetFileFrom(int fd);

// The bytes of any file (a model file) read the same way and within the
// same limit, into `bytes`: ok with an empty sheet, or the refusal.
SheetFileResult ReadFileBytesAt(const std::string& path, Source source, std::string& bytes);
SheetFileResult ReadFileBytesFrom(int fd, std::string& bytes);

}  // namespace orcalc::files
