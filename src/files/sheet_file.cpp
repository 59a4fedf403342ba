#include "files/sheet_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "files/text_decoding.h"

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

// A fault in the CSV text: which, on what line, and what to say.
struct TextFaultAt {
  SheetTextFault fault = SheetTextFault::None;
  long line = 0;
  const char* what = "";
};

SheetFileResult RefusedText(const TextFaultAt& at) {
  SheetFileResult result = Refused(SheetFileProblem::NotText,
                                   "line " + std::to_string(at.line) + ": " + at.what, at.line);
  result.fault = at.fault;
  return result;
}

// The records of UTF-8 text, read in one pass: any text, quoted fields
// included. Every field goes, in reading order, into one block of cells that
// the sheet takes over as it is, and each record's field count is kept.
class RecordScanner {
 public:
  RecordScanner(std::string_view bytes, char separator) : bytes_(bytes), separator_(separator) {}

  // The sheet of the records, or the refusal of text that is not
  // well-formed CSV or holds more than a sheet file may.
  SheetFileResult Read();

 private:
  void ReserveCells();
  // One field from `at_`: `field_` is its text and `at_` what ends it.
  TextFaultAt ReadQuotedField();
  TextFaultAt ReadPlainField();
  // Past a limit, these set `limit_` and the reading stops.
  void EndField(std::string_view text);
  void EndRecord(std::string_view last_field);
  Sheet TakeSheet();

  bool EndsField(char c) const { return c == separator_ || c == '\r' || c == '\n'; }

  const std::string_view bytes_;
  const char separator_;
  std::size_t at_ = 0;
  long line_ = 1;  // physical line, for messages
  std::string_view field_;
  std::string quoted_;  // a quoted field's text, its doubled quotes made single
  // Every record's fields one after another, and how many each record has.
  std::vector<std::string> cells_;
  std::vector<int> record_sizes_;
  int fields_ = 0;  // in the record being read
  SheetFileProblem limit_ = SheetFileProblem::None;
  long limit_line_ = 0;
};

SheetFileResult RecordScanner::Read() {
  ReserveCells();
  const std::size_t n = bytes_.size();
  while (at_ < n && limit_ == SheetFileProblem::None) {
    // One field, then what ends it: a separator, a line end or the end.
    const TextFaultAt fault = bytes_[at_] == '"' ? ReadQuotedField() : ReadPlainField();
    if (fault.fault != SheetTextFault::None) return RefusedText(fault);
    if (at_ == n) {
      EndRecord(field_);  // the last record may have no terminator
      break;
    }
    if (bytes_[at_] == separator_) {
      EndField(field_);
      ++at_;
      if (at_ == n) EndRecord({});  // "a," ends with an empty last field
      continue;
    }
    // CR LF, LF or CR.
    EndRecord(field_);
    if (bytes_[at_] == '\r' && at_ + 1 < n && bytes_[at_ + 1] == '\n') ++at_;
    ++at_;
    ++line_;
  }
  if (limit_ == SheetFileProblem::TooManyFields) return TooManyFields(limit_line_);
  if (limit_ == SheetFileProblem::TooManyRecords) return TooManyRecords(limit_line_);
  SheetFileResult result;
  result.sheet = TakeSheet();
  result.ok = true;
  return result;
}

// One allocation for all the cells: no record can have more fields than
// separators and line ends allow.
void RecordScanner::ReserveCells() {
  const std::size_t bound = static_cast<std::size_t>(std::count_if(
      bytes_.begin(), bytes_.end(),
      [separator = separator_](char c) { return c == separator || c == '\n' || c == '\r'; }));
  constexpr std::size_t kMostCells =
      static_cast<std::size_t>(kSheetFileMaxRecords + 1) * (kSheetFileMaxFields + 1);
  cells_.reserve(std::min(bound + 1, kMostCells));
}

// A quoted field runs to the closing quote; "" stands for one quote.
TextFaultAt RecordScanner::ReadQuotedField() {
  const std::size_t n = bytes_.size();
  const long start_line = line_;
  quoted_.clear();
  ++at_;
  bool closed = false;
  while (at_ < n) {
    const std::size_t stop = bytes_.find_first_of("\"\n", at_);
    const std::size_t piece_end = stop == std::string_view::npos ? n : stop;
    quoted_.append(bytes_.substr(at_, piece_end - at_));
    at_ = piece_end;
    if (at_ == n) break;
    if (bytes_[at_] == '\n') {
      ++line_;
      quoted_.push_back('\n');
      ++at_;
      continue;
    }
    if (at_ + 1 < n && bytes_[at_ + 1] == '"') {
      quoted_.push_back('"');
      at_ += 2;
      continue;
    }
    ++at_;
    closed = true;
    break;
  }
  if (!closed) return {SheetTextFault::UnclosedQuote, start_line, "a quoted field is not closed"};
  if (at_ < n && !EndsField(bytes_[at_])) {
    return {SheetTextFault::TextAfterQuote, line_, "text follows a closing quote"};
  }
  field_ = quoted_;
  return {};
}

TextFaultAt RecordScanner::ReadPlainField() {
  const std::size_t n = bytes_.size();
  std::size_t end = at_;
  while (end < n && !EndsField(bytes_[end]) && bytes_[end] != '"') ++end;
  if (end < n && bytes_[end] == '"') {
    return {SheetTextFault::QuoteInField, line_, "a quote inside an unquoted field"};
  }
  field_ = bytes_.substr(at_, end - at_);
  at_ = end;
  return {};
}

void RecordScanner::EndField(std::string_view text) {
  if (fields_ == kSheetFileMaxFields) {
    limit_ = SheetFileProblem::TooManyFields;
    limit_line_ = line_;
    return;
  }
  cells_.emplace_back(text);
  ++fields_;
}

// A record is refused at its field too many, but when that field ends the
// record too many, the record is what is refused.
void RecordScanner::EndRecord(std::string_view last_field) {
  EndField(last_field);
  if (record_sizes_.size() == static_cast<std::size_t>(kSheetFileMaxRecords)) {
    limit_ = SheetFileProblem::TooManyRecords;
    limit_line_ = line_;
    return;
  }
  record_sizes_.push_back(fields_);
  fields_ = 0;
}

// Cell (r, c) is field c of record r; short records get empty cells up to
// the widest.
Sheet RecordScanner::TakeSheet() {
  const int rows = static_cast<int>(record_sizes_.size());
  const int cols = rows == 0 ? 0 : *std::max_element(record_sizes_.begin(), record_sizes_.end());
  if (std::all_of(record_sizes_.begin(), record_sizes_.end(),
                  [cols](int k) { return k == cols; })) {
    return Sheet(rows, cols, std::move(cells_));
  }
  std::vector<std::string> padded(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
  std::size_t from = 0;
  for (std::size_t r = 0; r < record_sizes_.size(); ++r) {
    for (int c = 0; c < record_sizes_[r]; ++c) {
      padded[r * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)] =
          std::move(cells_[from++]);
    }
  }
  return Sheet(rows, cols, std::move(padded));
}

// A last record labelled with the variable types comes off the sheet.
void TakeVariableTypes(SheetFileResult& result) {
  Sheet& sheet = result.sheet;
  const int last = sheet.rows() - 1;
  if (last < 1 || sheet.Cell(last, 0) != kVariableTypesLabel) return;
  std::vector<std::string> fields;
  int end = sheet.cols();
  while (end > 1 && sheet.Cell(last, end - 1).empty()) --end;
  for (int c = 1; c < end; ++c) fields.push_back(sheet.Cell(last, c));
  result.variable_types = std::move(fields);
  sheet.SetRows(last);
}

}  // namespace

SheetFileResult ReadSheetCsv(std::string_view bytes) {
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
  SheetFileResult result = RecordScanner(bytes, DetectFieldSeparator(bytes)).Read();
  if (result.ok) {
    TakeVariableTypes(result);
    NormalisePlainSigns(result.sheet);
  }
  return result;
}

SheetFileResult RefuseTooLarge() {
  return Refused(SheetFileProblem::TooLarge, "the file is larger than 64 MB (" +
                                                 std::to_string(kSheetFileMaxBytes) +
                                                 " bytes), the most a sheet file may hold");
}

SheetFileResult ReadBytesWithin(const ReadBytes& read, std::size_t expected_size,
                                std::string& bytes) {
  constexpr std::size_t kPiece = std::size_t{64} * 1024;
  bytes.clear();
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
  SheetFileResult read_whole;
  read_whole.ok = true;
  return read_whole;
}

SheetFileResult ReadSheetCsvFrom(const ReadBytes& read, std::size_t expected_size) {
  std::string bytes;
  SheetFileResult result = ReadBytesWithin(read, expected_size, bytes);
  if (!result.ok) return result;
  return ReadSheetCsv(bytes);
}

std::string WriteSheetCsv(const Sheet& sheet, const std::vector<std::string>& variable_types) {
  std::string out = WriteSheetCsv(sheet);
  // A sheet whose own last row bears the label would lose that row to the
  // reader: a record after it, empty if need be, keeps the row the sheet's.
  const bool last_row_labelled = sheet.rows() > 0 && sheet.cols() > 0 &&
                                 sheet.Cell(sheet.rows() - 1, 0) == kVariableTypesLabel;
  if (variable_types.empty() && !last_row_labelled) return out;
  Sheet record(1, static_cast<int>(variable_types.size()) + 1);
  record.SetCell(0, 0, std::string(kVariableTypesLabel));
  for (std::size_t k = 0; k < variable_types.size(); ++k)
    record.SetCell(0, static_cast<int>(k) + 1, variable_types[k]);
  out += WriteSheetCsv(record);
  return out;
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
