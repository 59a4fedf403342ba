#include "about/about_box.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "about/app_icon.h"
#include "platform/platform.h"
#include "sheet/twips.h"

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

constexpr const char* kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kSysInfoValue = "PATH";
constexpr const char* kSysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* kSysInfoLocationValue = "MSINFO";
constexpr const char* kSysInfoProgram = "\\MSINFO32.EXE";

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

// A 32-bit number value as "&h" and two hexadecimal digits a byte, the
// last byte (the most significant) first.
std::string dwordText(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text = "&h";
  for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
    const auto byte = static_cast<unsigned char>(*it);
    text += digits[byte >> 4];
    text += digits[byte & 0x0F];
  }
  return text;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      access_(systemAccess()) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QString::fromUtf8(kApplicationTitle));
  setWindowIcon(applicationIcon());
  setFont(dialogFont(font()));

  // The client area at its design place on the screen, fixed in size.
  const QRect client = twipsRect(2340, 1935, 6135, 4305, this);
  setFixedSize(client.size());
  setGeometry(client);

  picIcon_ = makeLabel(this, "picIcon", QString(), twipsRect(240, 240, 540, 540, this));
  picIcon_->setPixmap(applicationIconPixmap());
  picIcon_->setAlignment(Qt::AlignCenter);
  picIcon_->setFocusPolicy(Qt::StrongFocus);

  lblTitle_ = makeLabel(this, "lblTitle", QString::fromUtf8(kApplicationTitle),
                        twipsRect(1080, 240, 3885, 480, this));
  lblTitle_->setFont(titleFont(font()));

  lblVersion_ = makeLabel(this, "lblVersion", QStringLiteral("版本：１.０"),
                          twipsRect(1050, 780, 3885, 225, this));

  // A label breaks lines at LF; the CR of each line end is not shown.
  lblDescription_ = makeLabel(this, "lblDescription",
                              QString::fromUtf8(kAboutDescription).remove(QLatin1Char('\r')),
                              twipsRect(1080, 1245, 4485, 1770, this));
  lblDescription_->setWordWrap(true);
  fitWrappedText(lblDescription_);

  // The etched separator: a white strip two pixels high with a grey line
  // over its top pixel.
  line1White_ =
      makeLine(this, 0, QColor(0xFF, 0xFF, 0xFF), twipsRect(225, 3120, 5774 - 225, 0, this));
  line1White_->resize(line1White_->width(), 2);
  line1Grey_ =
      makeLine(this, 1, QColor(0x80, 0x80, 0x80), twipsRect(210, 3120, 5880 - 210, 0, this));
  line1Grey_->resize(line1Grey_->width(), 1);
  line1Grey_->raise();

  lblDisclaimer_ = makeLabel(this, "lblDisclaimer", QString::fromUtf8(kAboutDisclaimer),
                             twipsRect(360, 3360, 3630, 825, this));
  lblDisclaimer_->setWordWrap(true);
  fitWrappedText(lblDisclaimer_);

  cmdOK_ = new QPushButton(QStringLiteral("确定"), this);
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  cmdOK_->setGeometry(twipsRect(4440, 3480, 1500, 345, this));
  cmdOK_->setDefault(true);

  cmdSysInfo_ = new QPushButton(QStringLiteral("系统信息(&S)..."), this);
  cmdSysInfo_->setObjectName(QStringLiteral("cmdSysInfo"));
  cmdSysInfo_->setGeometry(twipsRect(4440, 3840, 1485, 345, this));

  // Esc rejects the dialog (QDialog's own handling), which closes it as OK does.
  connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo_, &QPushButton::clicked, this, [this] { StartSysInfo(); });

  setTabOrder(cmdOK_, picIcon_);
  setTabOrder(picIcon_, cmdSysInfo_);
  cmdOK_->setFocus();
}

frmAbout::~frmAbout() = default;

bool frmAbout::GetKeyValue(std::uint32_t KeyRoot, const std::string& KeyName,
                           const std::string& SubKeyRef, std::string& KeyVal) {
  Registry& registry = *access_.registry;
  Registry::Key key = 0;
  if (!registry.openKey(KeyRoot, KeyName, kKeyAccessMask, key)) {
    KeyVal.clear();
    return false;
  }
  // The key is closed on every way out, a read that raises an error included.
  struct Closer {
    Registry& registry;
    Registry::Key key;
    ~Closer() { registry.closeKey(key); }
  } closer{registry, key};

  std::vector<char> buffer(kValueBufferSize, '\0');
  std::uint32_t size = kValueBufferSize;
  std::uint32_t type = 0;
  if (!registry.queryValue(key, SubKeyRef, type, buffer.data(), size)) {
    KeyVal.clear();
    return false;
  }

  // Never take more than the buffer holds, whatever size comes back.
  std::string value(buffer.data(), std::min(size, kValueBufferSize));
  if (!value.empty() && value.back() == '\0') value.pop_back();

  if (type == kRegistryString) {
    KeyVal = value;
  } else if (type == kRegistryDword) {
    KeyVal = dwordText(value);
  }
  return true;
}

void frmAbout::StartSysInfo() {
  bool started = false;
  try {
    std::string path;
    if (GetKeyValue(kHKeyLocalMachine, kSysInfoKey, kSysInfoValue, path)) {
      // The value is the program's full path.
    } else if (GetKeyValue(kHKeyLocalMachine, kSysInfoLocationKey, kSysInfoLocationValue, path)) {
      // The value is a folder: the program must be in it.
      path += kSysInfoProgram;
      if (!access_.files->fileExists(path)) path.clear();
    } else {
      path.clear();
    }
    started = !path.empty() && access_.programs->start(path);
  } catch (...) {
    // An error while reading the registry, testing the file or starting the
    // program ends the same way as not finding it.
    started = false;
  }
  if (!started) {
    Platform::current().showMessage(this, QString::fromUtf8(kSysInfoUnavailableMessage));
  }
}

void showAboutBox(QWidget* parent) {
  frmAbout box(parent);
  Platform::current().runModal(&box);
}

}  // namespace orcalc::ui
