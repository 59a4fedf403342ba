// Qt's own texts in Simplified Chinese: the buttons of message boxes, the
// save dialog, the menus of text boxes. The program's whole interface is
// Chinese, so they are loaded whatever the user's locale.
#pragma once

#include <QString>

namespace orcalc::ui {

// Installs Qt's Simplified Chinese translations from `folder` (Qt's own
// translations folder when empty), replacing any installed by an earlier
// call. Returns false, without a message, when Qt's translation file is not
// there: Qt's texts then stay English.
bool installQtTranslations(const QString& folder = QString());

}  // namespace orcalc::ui
