#include "app/application.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "about/app_icon.h"
#include "app/form1.h"
#include "app/qt_translations.h"
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

void setUpApplication(QApplication& app) {
  app.setApplicationName(QStringLiteral("orcalc"));
  // Without Qt's translation file its texts stay English; nothing else
  // depends on it.
  installQtTranslations();
  app.setWindowIcon(applicationIcon());
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

int takeScreenshot(const QString& path) {
  Form1 form;
  form.show();
  QApplication::processEvents();

  // Maximise 3χ1 + 2χ2 under χ1 + χ2 ≤ 4 and χ1 + 3χ2 ≤ 6.
  form.Text2->setText(QStringLiteral("2"));
  form.Text1->setText(QStringLiteral("2"));
  form.Option1[0]->setChecked(true);
  form.ok();
  SheetGrid* grid = form.MSFlexGrid1;
  const char* const cells[3][4] = {
      {"3", "2", nullptr, nullptr}, {"1", "1", " ≤ ", "4"}, {"1", "3", " ≤ ", nullptr}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) {
      if (cells[r][c]) grid->setText(r + 1, c + 1, QString::fromUtf8(cells[r][c]));
    }
  }
  // Type the last right-hand side into its cell: the editor opens over it.
  grid->setFocus();
  grid->setCurrentCell(3, 4);
  QApplication::processEvents();
  QKeyEvent* key = newTypedKeyEvent('6');
  QApplication::sendEvent(grid, key);
  delete key;
  for (int i = 0; i < 10; ++i) QApplication::processEvents();

  const QPixmap picture = form.grab();
  if (!picture.save(path, "PNG")) {
    std::fprintf(stderr, "orcalc: cannot write %s\n", qPrintable(path));
    return 1;
  }
  return 0;
}

}  // namespace orcalc::ui
