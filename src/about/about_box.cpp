#include "about/about_box.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "about/app_icon.h"
#include "platform/platform.h"
#include "platform/twips.h"

namespace orcalc::ui {

const char* const kAboutDescription =
    "程序描述:\r\n"
    "    本程序用于求解线性规划和目标规划问题。需要此类软件或愿意合作开发者，欢迎与作者联系。\r\n"
    "    联系人：orcalc 开发组\r\n"
    "    电子邮件：暂无\r\n"
    "    即时通信号码：暂无\r\n"
    "    网址：暂无";

const char* const kAboutDisclaimer =
    "警告: 本程序是自由软件，依照 GNU 通用公共许可证第 3 版或更高版本发布，"
    "不提供任何担保。计算结果请独立核对。";

const char* const kSysInfoUnavailableMessage = "此时系统信息不可用";

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& rect) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(rect);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  return label;
}

// One of the two lines of the etched separator: a filled strip.
QFrame* makeLine(QWidget* parent, int index, const QColor& color, const QRect& rect) {
  auto* line = new QFrame(parent);
  line->setObjectName(QStringLiteral("Line1"));
  line->setProperty("index", index);
  line->setFrameShape(QFrame::NoFrame);
  line->setAutoFillBackground(true);
  QPalette palette = line->palette();
  palette.setColor(QPalette::Window, color);
  line->setPalette(palette);
  line->setGeometry(rect);
  return line;
}

// The dialog's face: 宋体 9 pt, or an installed CJK face in its place.
QFont dialogFont(const QFont& base) {
  QFont font = base;
  font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                    QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC")});
  font.setPointSizeF(9);
  return font;
}

// Where the installed face is taller than the design face, a wrapped label
// gets a slightly smaller size so that its last line is not cut off.
void fitWrappedText(QLabel* label) {
  QFont font = label->font();
  const QRect area(0, 0, label->width(), 100000);
  while (font.pointSizeF() > 7.0) {
    const QFontMetrics metrics(font);
    const QRect needed =
        metrics.boundingRect(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
    if (needed.height() <= label->height()) break;
    font.setPointSizeF(font.pointSizeF() - 0.25);
  }
  label->setFont(font);
}

// The title face: the classic regular-script face where it exists, else an
// installed CJK regular-script or serif face.
QFont titleFont(const QFont& base) {
  QFont font = base;
  font.setFamilies({QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi_GB2312"),
                    QStringLiteral("楷体"), QStringLiteral("KaiTi"),
                    QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC"),
                    QStringLiteral("serif")});
  font.setPointSizeF(14.25);
  font.setBold(true);
  return font;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      launcher_(&systemInfoLauncher()) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QString::fromUtf8(kApplicationTitle));
  setWindowIcon(applicationIcon());
  setFont(dialogFont(font()));

  // The client area at its design place on the screen, fixed in size.
  const QRect client = twipsRect(2340, 1935, 6135, 4305, this);
  setFixedSize(client.size());
  setGeometry(client);

  icon_ = makeLabel(this, "picIcon", QString(), twipsRect(240, 240, 540, 540, this));
  icon_->setPixmap(applicationIconPixmap());
  icon_->setAlignment(Qt::AlignCenter);
  icon_->setFocusPolicy(Qt::StrongFocus);

  titleLabel_ = makeLabel(this, "lblTitle", QString::fromUtf8(kApplicationTitle),
                          twipsRect(1080, 240, 3885, 480, this));
  titleLabel_->setFont(titleFont(font()));

  versionLabel_ = makeLabel(this, "lblVersion", QStringLiteral("版本：１.０"),
                            twipsRect(1050, 780, 3885, 225, this));

  // A label breaks lines at LF; the CR of each line end is not shown.
  descriptionLabel_ = makeLabel(this, "lblDescription",
                                QString::fromUtf8(kAboutDescription).remove(QLatin1Char('\r')),
                                twipsRect(1080, 1245, 4485, 1770, this));
  descriptionLabel_->setWordWrap(true);
  fitWrappedText(descriptionLabel_);

  // The etched separator: a white strip two pixels high with a grey line
  // over its top pixel.
  whiteLine_ =
      makeLine(this, 0, QColor(0xFF, 0xFF, 0xFF), twipsRect(225, 3120, 5774 - 225, 0, this));
  whiteLine_->resize(whiteLine_->width(), 2);
  greyLine_ =
      makeLine(this, 1, QColor(0x80, 0x80, 0x80), twipsRect(210, 3120, 5880 - 210, 0, this));
  greyLine_->resize(greyLine_->width(), 1);
  greyLine_->raise();

  disclaimerLabel_ = makeLabel(this, "lblDisclaimer", QString::fromUtf8(kAboutDisclaimer),
                               twipsRect(360, 3360, 3630, 825, this));
  disclaimerLabel_->setWordWrap(true);
  fitWrappedText(disclaimerLabel_);

  okButton_ = new QPushButton(QStringLiteral("确定"), this);
  okButton_->setObjectName(QStringLiteral("cmdOK"));
  okButton_->setGeometry(twipsRect(4440, 3480, 1500, 345, this));
  okButton_->setDefault(true);

  systemInfoButton_ = new QPushButton(QStringLiteral("系统信息(&S)..."), this);
  systemInfoButton_->setObjectName(QStringLiteral("cmdSysInfo"));
  systemInfoButton_->setGeometry(twipsRect(4440, 3840, 1485, 345, this));

  // Esc rejects the dialog (QDialog's own handling), which closes it as OK does.
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(systemInfoButton_, &QPushButton::clicked, this, [this] { startSystemInfo(); });

  setTabOrder(okButton_, icon_);
  setTabOrder(icon_, systemInfoButton_);
  okButton_->setFocus();
}

AboutBox::~AboutBox() = default;

void AboutBox::startSystemInfo() {
  bool started = false;
  try {
    started = launcher_->launch();
  } catch (...) {
    // An error while finding or starting the tool ends as not finding it.
    started = false;
  }
  if (!started) {
    Platform::current().showMessage(this, QString::fromUtf8(kSysInfoUnavailableMessage));
  }
}

void showAboutBox(QWidget* parent) {
  AboutBox box(parent);
  Platform::current().runModal(&box);
}

}  // namespace orcalc::ui
