#include "platform/ansi_file.h"

#include <errno.h>
#include <iconv.h>

#include <QFile>
#include <functional>

#include "files/file_writer.h"
#include "platform/atomic_file.h"
#include "platform/file_failures.h"

namespace orcalc::ui {
namespace {

constexpr qsizetype kPieceBytes = qsizetype{64} * 1024;

enum class EncodeStatus { Ok, NoConverter, BadText, SinkFailed };

// Converts `utf8` to GB18030 and hands the result to `sink` in pieces of at
// most kPieceBytes.
EncodeStatus EncodeInPieces(std::string_view utf8,
                            const std::function<bool(const QByteArray&)>& sink) {
  iconv_t cd = iconv_open("GB18030", "UTF-8");
  // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open's failure value is (iconv_t)-1
  if (cd == reinterpret_cast<iconv_t>(-1)) return EncodeStatus::NoConverter;
  QByteArray piece(kPieceBytes, Qt::Uninitialized);
  char* in_ptr = const_cast<char*>(utf8.data());
  size_t in_left = utf8.size();
  EncodeStatus status = EncodeStatus::Ok;
  bool flushing = false;  // the last call, which ends the shift state
  while (status == EncodeStatus::Ok) {
    char* out_ptr = piece.data();
    size_t out_left = static_cast<size_t>(piece.size());
    size_t done = flushing ? iconv(cd, nullptr, nullptr, &out_ptr, &out_left)
                           : iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    const bool full = done == static_cast<size_t>(-1) && errno == E2BIG;
    if (done == static_cast<size_t>(-1) && !full) {
      status = EncodeStatus::BadText;  // not UTF-8, or cut inside a character
      break;
    }
    const qsizetype produced = out_ptr - piece.data();
    if (produced > 0 && !sink(QByteArray::fromRawData(piece.constData(), produced))) {
      status = EncodeStatus::SinkFailed;
      break;
    }
    if (full) continue;
    if (flushing) break;
    flushing = true;
  }
  iconv_close(cd);
  return status;
}

}  // namespace

std::optional<QByteArray> EncodeAnsi(std::string_view utf8) {
  QByteArray out;
  const EncodeStatus status = EncodeInPieces(utf8, [&](const QByteArray& piece) {
    out.append(piece);
    return true;
  });
  if (status != EncodeStatus::Ok) return std::nullopt;
  return out;
}

FileWriteResult WriteAnsiFileAtomically(const QString& path, std::string_view utf8) {
  EncodeStatus status = EncodeStatus::Ok;
  const files::WriteOutcome outcome = files::WriteFileAtomically(
      QFile::encodeName(path).toStdString(),
      [&](const files::ByteSink& sink) {
        status = EncodeInPieces(utf8, [&](const QByteArray& piece) {
          return sink(std::string_view(piece.constData(), static_cast<std::size_t>(piece.size())));
        });
        return status == EncodeStatus::Ok;
      },
      platformWriteCall());
  if (outcome.ok()) return {true, QString()};
  if (status == EncodeStatus::BadText) {
    return {false, QStringLiteral("文本无法转换为保存所用的编码")};
  }
  // The converter could not be set up: in practice the memory ran out.
  if (status == EncodeStatus::NoConverter) return {false, QStringLiteral("内存不足，无法转换编码")};
  return {false, writeFailureText(outcome)};
}

}  // namespace orcalc::ui
