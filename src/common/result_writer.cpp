#include "common/result_writer.h"

namespace orcalc {

void WriteMessages(ResultWriter& out, const std::vector<KeyedMessage>& messages) {
  out.BeginArray("messages");
  for (const KeyedMessage& message : messages) {
    out.BeginObject();
    out.Text("keyword", message.keyword);
    out.Text("text", message.text);
    out.EndObject();
  }
  out.EndArray();
}

void WriteNumbers(ResultWriter& out, std::string_view key, const std::vector<double>& values) {
  out.BeginArray(key);
  for (double value : values) out.Number({}, value);
  out.EndArray();
}

}  // namespace orcalc
