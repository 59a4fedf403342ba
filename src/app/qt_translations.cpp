#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstring>

namespace orcalc::ui {
namespace {

// Marks the translators installed here, so that a later call replaces them.
const char* const kTranslatorName = "orcalc-qt-translation";

// The report box's menu (QScintilla, which has no Simplified Chinese
// translation) offers the same commands in the same words as Qt's own text
// box menu, which Qt's translation covers: those words are taken from there.
// And every menu says 撤销 for undo, as the program's own menus do.
class TextBoxMenuTranslator final : public QTranslator {
 public:
  TextBoxMenuTranslator(const QTranslator* qt, QObject* parent) : QTranslator(parent), qt_(qt) {}

  QString translate(const char* context, const char* source, const char* disambiguation,
                    int n) const override {
    if (!context) return {};
    const bool report_box = std::strcmp(context, "QsciScintilla") == 0;
    QString text = qt_->translate(report_box ? "QLineEdit" : context, source, disambiguation, n);
    // One word for undo everywhere: the menus say 撤销, Qt's translation
    // of the text boxes' menus 撤消.
    if (text.contains(QStringLiteral("撤消")))
      return text.replace(QStringLiteral("撤消"), QStringLiteral("撤销"));
    return report_box ? text : QString();
  }
  bool isEmpty() const override { return false; }

 private:
  const QTranslator* qt_;
};

}  // namespace

bool installQtTranslations(const QString& folder) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return false;
  const QList<QTranslator*> earlier = app->findChildren<QTranslator*>(
      QString::fromLatin1(kTranslatorName), Qt::FindDirectChildrenOnly);
  for (QTranslator* old : earlier) QCoreApplication::removeTranslator(old);
  qDeleteAll(earlier);
  const QString from =
      folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
  auto* qt = new QTranslator(app);
  qt->setObjectName(QString::fromLatin1(kTranslatorName));
  if (!qt->load(QStringLiteral("qtbase_zh_CN"), from)) {
    delete qt;
    return false;
  }
  QCoreApplication::installTranslator(qt);
  auto* menu = new TextBoxMenuTranslator(qt, app);
  menu->setObjectName(QString::fromLatin1(kTranslatorName));
  QCoreApplication::installTranslator(menu);
  // A translation of QScintilla's own, where the system has one, comes
  // first (the translator installed last is asked first).
  auto* scintilla = new QTranslator(app);
  scintilla->setObjectName(QString::fromLatin1(kTranslatorName));
  if (scintilla->load(QStringLiteral("qscintilla_zh_CN"), from)) {
    QCoreApplication::installTranslator(scintilla);
  } else {
    delete scintilla;
  }
  return true;
}

}  // namespace orcalc::ui
