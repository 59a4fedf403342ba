#include "app/count_box.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include "common/numeric_reading.h"
#include "platform/platform.h"
#include "sheet/typed_key.h"

namespace orcalc::ui {
namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Keeps only the ASCII digits of whatever text would enter the box.
class DigitsOnly final : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& pos) const override {
    QString kept;
    kept.reserve(input.size());
    int new_pos = 0;
    for (int i = 0; i < input.size(); ++i) {
      if (!isDigit(input[i])) continue;
      kept.append(input[i]);
      if (i < pos) ++new_pos;
    }
    if (kept.size() != input.size()) {
      input = kept;
      pos = new_pos;
    }
    return Acceptable;
  }
};

class CountBoxRules final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = static_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::KeyPress) {
      // Keys that type no character (arrows, Delete, Tab, shortcuts such as
      // Ctrl+V) keep their usual meaning; pasted text meets the validator.
      const int code = typedCharacter(*static_cast<QKeyEvent*>(event));
      if (code == 0 || code == 8 || (code >= '0' && code <= '9')) return false;
      Platform::current().beep();
      return true;
    }
    if (event->type() == QEvent::FocusOut) {
      if (ReadNumber(box->text().toStdString()) > kMaxCount) {
        box->setText(QString::number(kMaxCount));
      }
    }
    return false;
  }
};

}  // namespace

void makeCountBox(QLineEdit* box) {
  box->setValidator(new DigitsOnly(box));
  box->installEventFilter(new CountBoxRules(box));
}

}  // namespace orcalc::ui
