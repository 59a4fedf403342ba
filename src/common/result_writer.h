// The figures of a calculation as a script reads them: each calculation
// hands its figures to a ResultWriter, which writes them out as JSON or as
// CSV records. Inside an object every item has a key; inside an array the
// keys are left empty.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orcalc {

class ResultWriter {
 public:
  virtual ~ResultWriter() = default;

  virtual void BeginObject(std::string_view key = {}) = 0;
  virtual void EndObject() = 0;
  virtual void BeginArray(std::string_view key = {}) = 0;
  virtual void EndArray() = 0;
  // A value that is not finite has no JSON number: JSON writes null.
  virtual void Number(std::string_view key, double value) = 0;
  virtual void Text(std::string_view key, std::string_view value) = 0;
  virtual void Flag(std::string_view key, bool value) = 0;
  // Absent: a figure the calculation did not reach.
  virtual void Null(std::string_view key) = 0;

  // The whole text, once the outermost object has ended.
  virtual std::string Take() = 0;
};

// A message as a calculation shows it, with the fixed English keyword that
// names it for scripts.
struct KeyedMessage {
  std::string_view keyword;
  std::string text;
};

// "messages": [{"keyword": …, "text": …}, …].
void WriteMessages(ResultWriter& out, const std::vector<KeyedMessage>& messages);

// Each value of `values` as a number of the array `key`.
void WriteNumbers(ResultWriter& out, std::string_view key, const std::vector<double>& values);

}  // namespace orcalc
