#include "about/app_icon.h"

// The images live in a resource file compiled into a static library, so
// they are registered explicitly before the first use.
static void registerIconResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(orcalc);
    return true;
  }();
  (void)registered;
}

namespace orcalc::ui {

QIcon applicationIcon() {
  registerIconResources();
  QIcon icon(QStringLiteral(":/orcalc/orcalc.svg"));
  icon.addFile(QStringLiteral(":/orcalc/orcalc-32.png"), QSize(32, 32));
  return icon;
}

QPixmap applicationIconPixmap() {
  registerIconResources();
  return QPixmap(QStringLiteral(":/orcalc/orcalc-32.png"));
}

}  // namespace orcalc::ui
