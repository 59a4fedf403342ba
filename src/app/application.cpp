#include "app/application.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "about/app_icon.h"
#include "app/lp_window.h"
#include "app/qt_translations.h"
#include "results/results_window.h"
#include "sheet/sheet_grid.h"
#include "sheet/typed_key.h"

namespace orcalc::ui {

bool displayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

// QApplication's settings are static: the parameter only says that the
// application has to exist by then.
void setUpApplication(QApplication& /*app*/) {
  QApplication::setApplicationName(QStringLiteral("orcalc"));
  // Chinese whatever the system's locale, as every text of the program is:
  // the file dialogs' sizes, types and dates too.
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
  // Without Qt's translation file its texts stay English; nothing else
  // depends on it.
  installQtTranslations();
  QApplication::setWindowIcon(applicationIcon());
  // Chinese captions in the system's Chinese face, or in a Simplified
  // Chinese face of Debian's fonts-noto-cjk where that is missing.
  static const QStringList kPreferred = {QStringLiteral("宋体"), QStringLiteral("SimSun"),
                                         QStringLiteral("Noto Sans CJK SC")};
  QStringList families;
  for (const QString& family : kPreferred) {
    if (QFontDatabase::hasFamily(family)) families << family;
  }
  if (families.isEmpty()) return;  // fontconfig's fallback has to do
  QFont font = QApplication::font();
  font.setFamilies(families);
  font.setPointSizeF(9);
  QApplication::setFont(font);
}

namespace {

// Lets the window system draw what was just shown, for `ms` milliseconds.
void settle(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
}

// Lays out and fills the example sheet: maximise 3χ1 + 2χ2 under
// χ1 + χ2 ≤ 4 and χ1 + 3χ2 ≤ 6, the last right-hand side still empty.
void fillExample(LpWindow& form) {
  form.variableCountBox()->setText(QStringLiteral("2"));
  form.constraintCountBox()->setText(QStringLiteral("2"));
  form.maximumOption()->setChecked(true);
  form.ok();
  const char* const cells[3][4] = {
      {"3", "2", nullptr, nullptr}, {"1", "1", " ≤ ", "4"}, {"1", "3", " ≤ ", nullptr}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) {
      if (cells[r][c]) form.grid()->setText(r + 1, c + 1, QString::fromUtf8(cells[r][c]));
    }
  }
}

// Calls `look` with the modal window or menu that `open` shows, once it is
// drawn, and closes it then.
void whileShown(const std::function<void()>& open, const std::function<void(QWidget*)>& look) {
  QTimer::singleShot(500, [&look] {
    settle(200);
    QWidget* shown = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                       : QApplication::activeModalWidget();
    if (!shown) return;
    look(shown);
    shown->close();
  });
  open();
}

// The results window with its report box's menu open over a selected line,
// window and menu whole however far the menu reaches; null when no menu
// opened.
QPixmap reportMenuPicture(ResultsWindow& results) {
  QsciScintilla* text = results.reportBox();
  text->setSelection(6, 0, 7, 0);
  text->setFirstVisibleLine(0);
  // Inside the selection: a click elsewhere would move the caret there.
  const long inside = text->positionFromLineIndex(6, 2);
  const auto x = text->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, inside);
  const auto y = text->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, inside) +
                 text->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 6UL) / 2;
  const QPoint at(static_cast<int>(x), static_cast<int>(y));
  QWidget* box = text->viewport();
  QContextMenuEvent request(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
  QApplication::sendEvent(box, &request);
  settle(300);
  QWidget* menu = QApplication::activePopupWidget();
  if (!menu) return QPixmap();
  const QPoint menu_at = results.mapFromGlobal(menu->pos());
  const QRect both = results.rect() | QRect(menu_at, menu->size());
  QPixmap picture(both.size());
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.drawPixmap(-both.topLeft(), results.grab());
  painter.drawPixmap(menu_at - both.topLeft(), menu->grab());
  painter.end();
  menu->close();
  return picture;
}

}  // namespace

int takeScreenshot(const QString& path) {
  LpWindow form;
  form.show();
  QApplication::processEvents();
  fillExample(form);
  // Type the last right-hand side into its cell: the editor opens over it.
  SheetGrid* grid = form.grid();
  grid->setFocus();
  grid->setCurrentCell(3, 4);
  QApplication::processEvents();
  QApplication::sendEvent(grid, typedKeyEvent('6').get());
  for (int i = 0; i < 10; ++i) QApplication::processEvents();

  const QPixmap picture = form.grab();
  if (!picture.save(path, "PNG")) {
    std::fprintf(stderr, "orcalc: cannot write %s\n", qPrintable(path));
    return 1;
  }
  return 0;
}

int takeDialogScreenshots(const QString& folder) {
  const QDir into(QDir(folder).absolutePath());
  QStringList failed;
  const auto keep = [&](const QPixmap& picture, const QString& name) {
    if (!picture.save(into.filePath(name), "PNG")) failed << into.filePath(name);
  };
  // The save dialog opens in the working folder: one with a few reports.
  QTemporaryDir reports;
  for (const char* name : {"线性规划结果.TXT", "目标规划结果.TXT", "统计结果.TXT", "样本.dat"}) {
    QFile file(QDir(reports.path()).filePath(QString::fromUtf8(name)));
    if (file.open(QIODevice::WriteOnly)) file.write("\r\n");
  }
  const QString working = QDir::currentPath();
  QDir::setCurrent(reports.path());

  LpWindow form;
  form.show();
  settle(300);
  // A message box: statistics before any column was chosen.
  whileShown([&form] { form.statistics(); },
             [&](QWidget* box) { keep(box->grab(), QStringLiteral("message-box.png")); });
  fillExample(form);
  form.grid()->setText(3, 4, QStringLiteral("6"));
  whileShown([&form] { form.calculate(); },
             [&](QWidget* window) {
               auto* results = qobject_cast<ResultsWindow*>(window);
               if (!results) return;
               whileShown([results] { results->save(); },
                          [&](QWidget* dialog) {
                            keep(dialog->grab(), QStringLiteral("save-dialog.png"));
                          });
               const QPixmap menu = reportMenuPicture(*results);
               if (menu.isNull())
                 failed << QStringLiteral("context-menu.png (no menu opened)");
               else
                 keep(menu, QStringLiteral("context-menu.png"));
             });
  QDir::setCurrent(working);
  for (const QString& name : failed)
    std::fprintf(stderr, "orcalc: cannot write %s\n", qPrintable(name));
  return failed.isEmpty() ? 0 : 1;
}

}  // namespace orcalc::ui
