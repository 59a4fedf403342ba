// The name a save uses when the one typed lacks the ending of its type, and
// the question before such a completed name replaces a file that the save
// dialog did not ask about.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace orcalc::ui {

// `typed` when it ends with one of `endings` (any case), otherwise `typed`
// with `fallback` added: "g" gives "g.svg", "pic.jpg" gives "pic.jpg.png".
QString withKnownEnding(const QString& typed, const QStringList& endings, const QString& fallback);

// The ending a filter entry such as "SVG 图片 (*.svg)" gives its files
// (".svg"), or an empty text.
QString filterEnding(const QString& entry);

// Whether the save may go on to `completed`: true when it is the name the
// dialog returned (the dialog asked already), or when no file is there;
// otherwise the platform asks (取消 is the default).
bool mayReplaceCompletedName(QWidget* parent, const QString& typed, const QString& completed);

}  // namespace orcalc::ui
