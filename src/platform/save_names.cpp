#include "platform/save_names.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "platform/platform.h"

namespace orcalc::ui {

QString withKnownEnding(const QString& typed, const QStringList& endings, const QString& fallback) {
  for (const QString& ending : endings) {
    if (typed.endsWith(ending, Qt::CaseInsensitive)) return typed;
  }
  return typed + fallback;
}

QString filterEnding(const QString& entry) {
  static const QRegularExpression pattern(QStringLiteral("\\(\\*(\\.[^ )]+)"));
  const QRegularExpressionMatch match = pattern.match(entry);
  return match.hasMatch() ? match.captured(1) : QString();
}

bool mayReplaceCompletedName(QWidget* parent, const QString& typed, const QString& completed) {
  if (completed == typed || !QFileInfo::exists(completed)) return true;
  return Platform::current().askReplaceFile(parent, completed);
}

}  // namespace orcalc::ui
