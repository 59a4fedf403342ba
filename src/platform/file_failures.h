// Why a file could not be read or written, in the program's Chinese, from
// what the core's reader and writer report.
#pragma once

#include <QString>

#include "files/file_writer.h"
#include "files/sheet_file.h"

namespace orcalc::ui {

// The system's reason for `error_number` (errno) in Chinese; a number the
// program does not know is named by its number.
QString systemErrorText(int error_number);

// Why writing failed: the system's reason where it gave one, otherwise the
// step that failed ("写入时出错", "关闭文件时出错", ...). Empty when written.
QString writeFailureText(const files::WriteOutcome& outcome);

// Why a sheet file was refused, naming the line where the reader found the
// fault. Empty when it was read.
QString sheetFileFailureText(const SheetFileResult& result);

}  // namespace orcalc::ui
