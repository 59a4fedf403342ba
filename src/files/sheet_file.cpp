#include "files/sheet_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "files/text_decoding.h"
#include "parallel/thread_pool.h"

namespace orcalc {

bool IsValidUtf8(std::string_view bytes, std::size_t* bad_offset) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    // Runs of ASCII, the bulk of a sheet file, eight bytes at a time.
    while (n - i >= 8) {
      std::uint64_t word;
      std::memcpy(&word, s + i, 8);
      if ((word & 0x8080808080808080u) != 0) break;
      i += 8;
    }
    if (i == n) break;
    unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int extra;
    unsigned min;
    unsigned code;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, min = 0x80, code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, min = 0x800, code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, min = 0x10000, code = c & 0x07;
    } else {
      if (bad_offset) *bad_offset = i;
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= n) {
      if (bad_offset) *bad_offset = i;
      return false;
    }
    for (int k = 1; k <= extra; ++k) {
      unsigned char t = s[i + static_cast<std::size_t>(k)];
      if ((t & 0xC0) != 0x80) {
        if (bad_offset) *bad_offset = i;
        return false;
      }
      code = (code << 6) | (t & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      if (bad_offset) *bad_offset = i;
      return false;
    }
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

namespace {

// The cells under a "约束符号" header that hold a sign in plain form get the
// sign's own text.
void NormalisePlainSigns(Sheet& sheet) {
  for (int c = 0; c < sheet.cols(); ++c) {
    if (sheet.Cell(0, c) != "约束符号") continue;
    for (int r = 1; r < sheet.rows(); ++r) {
      std::string sign = PlainSignText(sheet.Cell(r, c));
      if (!sign.empty()) sheet.SetCell(r, c, std::move(sign));
    }
  }
}

SheetFileResult Refused(SheetFileProblem problem, std::string error, long line = 0) {
  SheetFileResult result;
  result.problem = problem;
  result.error = std::move(error);
  result.line = line;
  return result;
}

// A fault in the CSV text on `line`; `result` already says NotText.
SheetFileResult TextFault(SheetFileResult& result, SheetTextFault fault, long line,
                          const char* what) {
  result.fault = fault;
  result.line = line;
  result.error = "line " + std::to_string(line) + ": " + what;
  return std::move(result);
}

SheetFileResult TooManyFields(long line) {
  return Refused(SheetFileProblem::TooManyFields,
                 "line " + std::to_string(line) + ": a record has more than " +
                     std::to_string(kSheetFileMaxFields) +
                     " fields, the most a sheet file may hold in one record",
                 line);
}

SheetFileResult TooManyRecords(long line) {
  return Refused(SheetFileProblem::TooManyRecords,
                 "line " + std::to_string(line) + ": the file has more than " +
                     std::to_string(kSheetFileMaxRecords) +
                     " records, the most a sheet file may hold",
                 line);
}

// The records of UTF-8 `bytes`, read in one pass on the calling thread:
// any text, quoted fields included.
SheetFileResult ReadRecordsInOnePass(std::string_view bytes, char separator) {
  SheetFileResult result;
  result.problem = SheetFileProblem::NotText;

  // Every record's fields one after another, and how many each record has:
  // one allocation for all the cells, moved into the sheet as they are.
  std::vector<std::string> cells;
  std::vector<int> record_sizes;
  {
    // No record can have more fields than separators and line ends allow.
    const std::size_t bound =
        static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), [separator](char c) {
          return c == separator || c == '\n' || c == '\r';
        }));
    constexpr std::size_t kMostCells =
        static_cast<std::size_t>(kSheetFileMaxRecords + 1) * (kSheetFileMaxFields + 1);
    cells.reserve(std::min(bound + 1, kMostCells));
  }
  int fields = 0;      // in the record being read
  std::string quoted;  // a quoted field's text, its doubled quotes made single
  long line = 1;       // physical line, for messages
  const std::size_t n = bytes.size();
  std::size_t i = 0;

  // Past a limit, the reading stops with `limit` set.
  SheetFileProblem limit = SheetFileProblem::None;
  long limit_line = 0;
  auto end_field = [&](std::string_view text) {
    if (fields == kSheetFileMaxFields) {
      limit = SheetFileProblem::TooManyFields;
      limit_line = line;
      return;
    }
    cells.emplace_back(text);
    ++fields;
  };
  auto end_record = [&](std::string_view last_field) {
    end_field(last_field);
    if (record_sizes.size() == static_cast<std::size_t>(kSheetFileMaxRecords)) {
      limit = SheetFileProblem::TooManyRecords;
      limit_line = line;
      return;
    }
    record_sizes.push_back(fields);
    fields = 0;
  };

  while (i < n && limit == SheetFileProblem::None) {
    // One field, then what ends it: a separator, a line end or the end.
    std::string_view field;
    if (bytes[i] == '"') {
      // A quoted field runs to the closing quote; "" stands for one quote.
      const long start_line = line;
      quoted.clear();
      ++i;
      bool closed = false;
      while (i < n) {
        const std::size_t stop = bytes.find_first_of("\"\n", i);
        const std::size_t piece_end = stop == std::string_view::npos ? n : stop;
        quoted.append(bytes.substr(i, piece_end - i));
        i = piece_end;
        if (i == n) break;
        if (bytes[i] == '\n') {
          ++line;
          quoted.push_back('\n');
          ++i;
          continue;
        }
        if (i + 1 < n && bytes[i + 1] == '"') {
          quoted.push_back('"');
          i += 2;
          continue;
        }
        ++i;
        closed = true;
        break;
      }
      if (!closed) {
        return TextFault(result, SheetTextFault::UnclosedQuote, start_line,
                         "a quoted field is not closed");
      }
      if (i < n && bytes[i] != separator && bytes[i] != '\r' && bytes[i] != '\n') {
        return TextFault(result, SheetTextFault::TextAfterQuote, line,
                         "text follows a closing quote");
      }
      field = quoted;
    } else {
      std::size_t end = i;
      while (end < n && bytes[end] != separator && bytes[end] != '\r' && bytes[end] != '\n' &&
             bytes[end] != '"') {
        ++end;
      }
      if (end < n && bytes[end] == '"') {
        return TextFault(result, SheetTextFault::QuoteInField, line,
                         "a quote inside an unquoted field");
      }
      field = bytes.substr(i, end - i);
      i = end;
    }
    if (i == n) {
      end_record(field);  // the last record may have no terminator
      break;
    }
    if (bytes[i] == separator) {
      end_field(field);
      ++i;
      if (i == n) end_record({});  // "a," ends with an empty last field
      continue;
    }
    // CR LF, LF or CR.
    end_record(field);
    if (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
    ++i;
    ++line;
  }
  if (limit == SheetFileProblem::TooManyFields) return TooManyFields(limit_line);
  if (limit == SheetFileProblem::TooManyRecords) return TooManyRecords(limit_line);

  const int rows = static_cast<int>(record_sizes.size());
  const int cols = rows == 0 ? 0 : *std::max_element(record_sizes.begin(), record_sizes.end());
  if (std::all_of(record_sizes.begin(), record_sizes.end(), [cols](int k) { return k == cols; })) {
    result.sheet = Sheet(rows, cols, std::move(cells));
  } else {
    // Short records get empty cells up to the widest.
    std::vector<std::string> padded(static_cast<std::size_t>(rows) *
                                    static_cast<std::size_t>(cols));
    std::size_t from = 0;
    for (std::size_t r = 0; r < record_sizes.size(); ++r) {
      for (int c = 0; c < record_sizes[r]; ++c) {
        padded[r * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)] =
            std::move(cells[from++]);
      }
    }
    result.sheet = Sheet(rows, cols, std::move(padded));
  }
  result.ok = true;
  result.problem = SheetFileProblem::None;
  return result;
}

// Text with no double quote, at least this long, is read in parts on the
// pivot pool. Shorter text gains little from it, and may lose more than that
// when the pool's threads are asleep and have to be woken.
constexpr std::size_t kReadInPartsFrom = 64 * 1024;

// Just after the first line end (CR LF, LF or CR) at or after `from`, or the
// end of `text`: where a part of whole records may start.
std::size_t AfterLineEnd(std::string_view text, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (text[i] == '\n') return i + 1;
    if (text[i] == '\r') return i + 1 < text.size() && text[i + 1] == '\n' ? i + 2 : i + 1;
  }
  return text.size();
}

// The records of UTF-8 `text` with no double quote, so that every CR and LF
// ends a record and record k is line k + 1: the bytes are cut into parts of
// whole records, each part counts its records' fields, the limits are
// applied in reading order, and each part writes its fields into their
// cells. The same sheet, or the same refusal, as reading in one pass.
SheetFileResult ReadRecordsInParts(std::string_view text, char separator) {
  ThreadPool& pool = PivotPool();
  const std::size_t parts = pool.parts();
  const std::size_t n = text.size();
  // Part p is [cuts[p], cuts[p + 1]): the bytes cut evenly, each cut moved
  // on to just after a line end. A cut that has already passed the next
  // even point leaves an empty part.
  std::vector<std::size_t> cuts(parts + 1, n);
  cuts[0] = 0;
  for (std::size_t p = 1; p < parts; ++p) {
    const std::size_t even = n * p / parts;
    cuts[p] = cuts[p - 1] >= even ? cuts[p - 1] : AfterLineEnd(text, even);
  }
  // The last record may have no line end; text ending with one has no
  // record after it.
  const bool open_end = text.back() != '\n' && text.back() != '\r';
  auto holds_open_end = [&](std::size_t part) {
    return open_end && cuts[part] < cuts[part + 1] && cuts[part + 1] == n;
  };

  // Each record's fields (separators + 1), for at most one record more than
  // a file may hold: the file is refused at one of those. A record too wide
  // for any line ends the count too: it is refused, or an earlier record
  // is.
  constexpr std::size_t kMostCounted = kSheetFileMaxRecords + 1;
  std::vector<std::vector<int>> widths(parts);
  pool.ForEachPart(parts, [&](std::size_t part, std::size_t, std::size_t) {
    std::vector<int>& counts = widths[part];
    const std::size_t end = cuts[part + 1];
    for (std::size_t i = cuts[part]; i < end; ++i) {
      // To the record's line end, or the end of the text.
      int fields = 1;
      for (; i < end && text[i] != '\n' && text[i] != '\r'; ++i) fields += text[i] == separator;
      counts.push_back(fields);
      if (counts.size() == kMostCounted || fields > kSheetFileMaxFields + 1) return;
      if (i + 1 < end && text[i] == '\r' && text[i + 1] == '\n') ++i;
    }
  });

  // The limits, in the order the one-pass reader meets them.
  std::vector<std::size_t> first_record(parts);
  int rows = 0;
  int cols = 0;
  for (std::size_t part = 0; part < parts; ++part) {
    first_record[part] = static_cast<std::size_t>(rows);
    for (const int fields : widths[part]) {
      const long line = rows + 1;
      // A record is refused at its field too many, but when that field
      // ends the record too many, the record is what is refused.
      const int most = kSheetFileMaxFields + (rows == kSheetFileMaxRecords ? 1 : 0);
      if (fields > most) return TooManyFields(line);
      if (rows == kSheetFileMaxRecords) return TooManyRecords(line);
      cols = std::max(cols, fields);
      ++rows;
    }
  }

  // Short records leave their last cells empty.
  const std::size_t width = static_cast<std::size_t>(cols);
  std::vector<std::string> cells(static_cast<std::size_t>(rows) * width);
  pool.ForEachPart(parts, [&, separator](std::size_t part, std::size_t, std::size_t) {
    const char* const bytes = text.data();
    const std::size_t end = cuts[part + 1];
    std::string* row = cells.data() + first_record[part] * width;
    std::string* cell = row;
    std::size_t start = cuts[part];  // of the field being read
    for (std::size_t i = start; i < end; ++i) {
      const char c = bytes[i];
      if (c != separator && c != '\n' && c != '\r') continue;
      (cell++)->assign(bytes + start, i - start);
      if (c != separator) {
        if (c == '\r' && i + 1 < end && bytes[i + 1] == '\n') ++i;
        row += width;
        cell = row;
      }
      start = i + 1;
    }
    if (holds_open_end(part)) cell->assign(bytes + start, end - start);
  });

  SheetFileResult result;
  result.sheet = Sheet(rows, cols, std::move(cells));
  result.ok = true;
  return result;
}

// ReadSheetCsv, reading large text with no quotes in parts when `in_parts`.
SheetFileResult ReadSheetText(std::string_view bytes, bool in_parts) {
  if (bytes.size() > kSheetFileMaxBytes) return RefuseTooLarge();
  // UTF-8, UTF-16 or GB18030 bytes, with the separator of the first record.
  // UTF-8 text (with or without a byte-order mark) is read where it lies;
  // the other encodings are converted first.
  DecodedText decoded;
  const std::string_view unmarked = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
  if (IsValidUtf8(unmarked)) {
    bytes = unmarked;
  } else {
    decoded = DecodeSheetText(bytes);
    if (!decoded.ok) {
      SheetFileResult refused =
          Refused(SheetFileProblem::NotText, std::move(decoded.error), decoded.line);
      refused.fault = decoded.fault;
      return refused;
    }
    bytes = decoded.text;
  }
  if (bytes.empty())
    return Refused(SheetFileProblem::Empty, "the file is empty: it holds no record");
  const char separator = DetectFieldSeparator(bytes);
  SheetFileResult result = in_parts && bytes.size() >= kReadInPartsFrom &&
                                   std::memchr(bytes.data(), '"', bytes.size()) == nullptr
                               ? ReadRecordsInParts(bytes, separator)
                               : ReadRecordsInOnePass(bytes, separator);
  if (result.ok) NormalisePlainSigns(result.sheet);
  return result;
}

}  // namespace

SheetFileResult ReadSheetCsv(std::string_view bytes) { return ReadSheetText(bytes, true); }

SheetFileResult RefuseTooLarge() {
  return Refused(SheetFileProblem::TooLarge, "the file is larger than 64 MB (" +
                                                 std::to_string(kSheetFileMaxBytes) +
                                                 " bytes), the most a sheet file may hold");
}

SheetFileResult detail::ReadSheetCsvInOnePass(std::string_view bytes) {
  return ReadSheetText(bytes, false);
}

SheetFileResult ReadSheetCsvFrom(const ReadBytes& read, std::size_t expected_size) {
  constexpr std::size_t kPiece = 64 * 1024;
  std::string bytes;
  // The whole file in one allocation when its size is known; the byte
  // beyond tells that it ends there.
  bytes.reserve(std::min(expected_size, kSheetFileMaxBytes) + 1);
  for (;;) {
    // One byte beyond the limit is enough to know the file is too large.
    const std::size_t room = kSheetFileMaxBytes + 1 - bytes.size();
    const std::size_t at = bytes.size();
    bytes.resize(at + std::min(kPiece, room));
    const long got = read(bytes.data() + at, bytes.size() - at);
    if (got < 0) {
      const int error_number = errno;
      SheetFileResult refused =
          Refused(SheetFileProblem::ReadFailed,
                  std::string("the file cannot be read: ") + std::strerror(error_number));
      refused.error_number = error_number;
      return refused;
    }
    bytes.resize(at + static_cast<std::size_t>(got));
    if (bytes.size() > kSheetFileMaxBytes) return RefuseTooLarge();
    if (got == 0) break;
  }
  return ReadSheetCsv(bytes);
}

std::string WriteSheetCsv(const Sheet& sheet) {
  std::string out;
  for (int r = 0; r < sheet.rows(); ++r) {
    if (sheet.cols() == 1 && sheet.Cell(r, 0).empty()) {
      out += "\"\"\n";
      continue;
    }
    for (int c = 0; c < sheet.cols(); ++c) {
      if (c > 0) out.push_back(',');
      const std::string& text = sheet.Cell(r, c);
      // A byte-order mark opening the file would be taken for one: quote it.
      const bool leading_bom = r == 0 && c == 0 && text.rfind("\xEF\xBB\xBF", 0) == 0;
      if (!leading_bom && text.find_first_of(",\"\r\n;\t") == std::string::npos) {
        out += text;
      } else {
        out.push_back('"');
        for (char ch : text) {
          if (ch == '"') out.push_back('"');
          out.push_back(ch);
        }
        out.push_back('"');
      }
    }
    out.push_back('\n');
  }
  return out;
}

}  // namespace orcalc
