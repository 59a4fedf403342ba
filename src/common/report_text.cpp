#include "common/report_text.h"

#include <charconv>

namespace orcalc {

ReportText& ReportText::AddInt(long long value) {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  text_.append(buffer, static_cast<std::size_t>(result.ptr - buffer));
  return *this;
}

}  // namespace orcalc
