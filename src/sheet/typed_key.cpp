#include "sheet/typed_key.h"

#include <QChar>
#include <QKeyEvent>
#include <QString>

namespace orcalc::ui {

int typedCharacter(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kEnterCode;
    case Qt::Key_Backspace:
      return kBackspaceCode;
    case Qt::Key_Escape:
      return kEscapeCode;
    default:
      break;
  }
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
  const QString text = event.text();
  if (text.isEmpty()) return 0;
  const char32_t code = text.at(0).isHighSurrogate() && text.size() > 1
                            ? QChar::surrogateToUcs4(text.at(0), text.at(1))
                            : text.at(0).unicode();
  // Tab, Delete and the like arrive with control characters as text; they
  // are not typed characters.
  if (code < 32 || code == 127) return 0;
  return static_cast<int>(code);
}

std::unique_ptr<QKeyEvent> typedKeyEvent(int code) {
  int key = 0;
  QString text;
  switch (code) {
    case kEnterCode:
      key = Qt::Key_Return;
      text = QStringLiteral("\r");
      break;
    case kBackspaceCode:
      key = Qt::Key_Backspace;
      text = QStringLiteral("\b");
      break;
    case kEscapeCode:
      key = Qt::Key_Escape;
      text = QString(QChar(kEscapeCode));
      break;
    default: {
      const char32_t c = static_cast<char32_t>(code);
      text = QString::fromUcs4(&c, 1);
      // Latin letters use their upper-case key code, as a keyboard sends.
      key = (c >= U'a' && c <= U'z') ? static_cast<int>(c - U'a' + U'A') : code;
      break;
    }
  }
  return std::make_unique<QKeyEvent>(QEvent::KeyPress, key, Qt::NoModifier, text);
}

}  // namespace orcalc::ui
