#include "app/count_box.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include "common/numeric_reading.h"
#include "platform/platform.h"
#include "sheet/number_filter.h"
#include "sheet/typed_key.h"

namespace orcalc::ui {
namespace {

// Keeps only the ASCII digits of whatever text would enter the box.
class DigitsOnly final : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& pos) const override {
    const QString kept = filterNumberText(NumberField::Count, {}, input).accepted;
    if (kept.size() != input.size()) {
      // The caret stays after the digits that were before it.
      pos = static_cast<int>(
          filterNumberText(NumberField::Count, {}, input.left(pos)).accepted.size());
      input = kept;
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
      if (code == 0 || code == kBackspaceCode) return false;
      const auto typed = static_cast<char32_t>(code);
      if (!filterNumberText(NumberField::Count, box->text(), QString::fromUcs4(&typed, 1)).refused)
        return false;
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
