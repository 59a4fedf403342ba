// Saving where the file cannot or must not be written — a report, a sheet
// and the graphical method's picture, each through the one writer: over a
// read-only file (also as the superuser, who could), into a folder without
// write access, onto a full file system (full at once, or part-way through
// the report), onto a pipe or a device node. Each time one message names the
// file and gives a reason, the old file (or node) stays as it was, no
// temporary file is left behind, and the window stays open with its text.
//
// The superuser ignores permission bits, so as root the folder and the
// plain read-only case save with the ids of "nobody"; the full file system
// is a 64 KB tmpfs. Where neither is possible, a write failure simulated
// through the platform's file writer stands in, and the test says so.
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QRegularExpression>

#include "geometry/graph_command.h"
#include "graph/graph_window.h"
#include "support/window_helpers.h"

using namespace orcalc::ui;
using namespace orcalc::ui::testing;

enum class Obstacle {
  ReadOnlyFile,
  ReadOnlyFileAsSuperuser,
  ClosedFolder,
  FullDisk,
  FullDiskPartWay,
  Pipe,
  DeviceNode
};

const QByteArray kOldBytes = "earlier report\r\n";

// What is saved: the results window's report, a sheet (表格另存为…), the
// picture of the graphical method.
enum class Saver { Report, Sheet, Picture };

// A window of the saver's kind with something to save. save() saves it to
// the path the platform's dialog hands out, and stillShown() tells the
// window kept what it shows and does not claim the file.
class SavingWindow {
 public:
  SavingWindow(Saver saver, const std::string& report) : saver_(saver), report_(report) {
    switch (saver) {
      case Saver::Report:
        results_.setReportText(report);
        results_.show();
        break;
      case Saver::Sheet:
        fillExample(sheet_);
        sheet_.show();
        break;
      case Saver::Picture: {
        fillExample(sheet_);
        const orcalc::Sheet grid = sheet_.grid()->sheet();
        graph_ = std::make_unique<GraphWindow>(
            *orcalc::lp::CalculateGraph({2, 2, orcalc::lp::Sense::Maximise}, grid).geometry);
        graph_->show();
        break;
      }
    }
  }
  void save() {
    if (saver_ == Saver::Report) results_.save();
    if (saver_ == Saver::Sheet) sheet_.saveSheetAs();
    if (saver_ == Saver::Picture) graph_->saveImage();
  }
  bool stillShown() const {
    if (saver_ == Saver::Report)
      return results_.isVisible() && results_.reportBytes().toStdString() == report_;
    if (saver_ == Saver::Sheet) return sheet_.windowTitle() == QStringLiteral("线性规划计算程序");
    return graph_->isVisible();
  }

 private:
  Saver saver_;
  std::string report_;
  ResultsWindow results_;
  LpWindow sheet_;
  std::unique_ptr<GraphWindow> graph_;
};

// The account permissions are checked against: this one, or "nobody" as root.
static const passwd* account() { return geteuid() == 0 ? getpwnam("nobody") : getpwuid(geteuid()); }

// Gives `path` to the account with `mode`.
static bool give(const QString& path, mode_t mode) {
  const QByteArray name = QFile::encodeName(path);
  return (geteuid() != 0 || chown(name.constData(), account()->pw_uid, account()->pw_gid) == 0) &&
         chmod(name.constData(), mode) == 0;
}

// Runs as the account while it lives, when asked to and root; root stays the
// saved id to return to.
struct AsAccount {
  explicit AsAccount(bool step_down) : root(step_down && geteuid() == 0) {
    if (root && (setresgid(account()->pw_gid, account()->pw_gid, 0) != 0 ||
                 setresuid(account()->pw_uid, account()->pw_uid, 0) != 0))
      qInfo("cannot step down from root");
  }
  ~AsAccount() {
    if (root && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
      qFatal("cannot return to root");
  }
  const bool root;
};

class SaveFailuresTest : public QObject {
  Q_OBJECT

 private slots:
  void refusedSave_data() {
    QTest::addColumn<Saver>("saver");
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<int>("size");
    const std::pair<Saver, const char*> savers[] = {
        {Saver::Report, "report"}, {Saver::Sheet, "sheet"}, {Saver::Picture, "picture"}};
    for (const auto& [saver, name] : savers) {
      const auto row = [&](const char* what) -> QTestData& {
        return QTest::addRow("%s: %s", name, what) << saver;
      };
      row("read-only file") << Obstacle::ReadOnlyFile << 800;
      // The file itself is writable: only a temporary file beside it is
      // refused, and the save must not fall back to writing over the file.
      row("closed folder") << Obstacle::ClosedFolder << 800;
      row("full disk") << Obstacle::FullDisk << 200'000;
      // A short report is written in one piece, the disk full at once.
      row("full disk, short report") << Obstacle::FullDisk << 40;
      // Room for a few pieces: the disk takes part of a write without an error
      // (a sheet of the example's size fits in that room).
      if (saver != Saver::Sheet) row("disk full part-way") << Obstacle::FullDiskPartWay << 200'000;
      // The permission bits decide, not whether this user could write.
      row("read-only file, as it is") << Obstacle::ReadOnlyFileAsSuperuser << 800;
      row("pipe") << Obstacle::Pipe << 800;
      row("device node") << Obstacle::DeviceNode << 800;
    }
  }

  void refusedSave() {
    QFETCH(Saver, saver);
    QFETCH(Obstacle, obstacle);
    QFETCH(int, size);
    const std::string text = std::string(size, '7') + "\r\n";
    RecordingPlatform platform;
    QTemporaryDir dir;
    // A name with the saver's own ending, which the save keeps.
    const QString folder = dir.filePath("folder"),
                  path = folder + (saver == Saver::Picture ? "/old.png" : "/old.txt");
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QByteArray native = QFile::encodeName(folder);
    const bool full_disk = obstacle == Obstacle::FullDisk || obstacle == Obstacle::FullDiskPartWay;
    const bool mounted = full_disk && mount("tmpfs", native.constData(), "tmpfs",
                                            MS_NOSUID | MS_NODEV, "size=64k,mode=0777") == 0;
    const auto unmount = qScopeGuard([&] { umount2(native.constData(), MNT_DETACH); });
    const QByteArray old_path = QFile::encodeName(path);
    bool real = full_disk ? mounted : account() && account()->pw_uid != 0;
    bool step_down = real && !full_disk;
    if (obstacle == Obstacle::Pipe || obstacle == Obstacle::DeviceNode) {
      // A node standing in for /dev/null (the same device numbers); making
      // one needs the superuser.
      const int made = obstacle == Obstacle::Pipe
                           ? mkfifo(old_path.constData(), 0666)
                           : mknod(old_path.constData(), S_IFCHR | 0666, makedev(1, 3));
      if (made != 0) QSKIP("this node cannot be made here");
      real = true, step_down = false;
    } else {
      QVERIFY(writeFile(path, kOldBytes));
    }
    if (full_disk && real) {
      QFile filler(folder + "/filler");
      QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
      while (filler.write(QByteArray(4096, 'x')) == 4096) continue;
      if (obstacle == Obstacle::FullDiskPartWay) QVERIFY(filler.resize(filler.size() - 16384));
    } else if (obstacle == Obstacle::ReadOnlyFileAsSuperuser) {
      QVERIFY(chmod(old_path.constData(), 0444) == 0);
      real = true, step_down = false;
    } else if (real && step_down) {
      QVERIFY(give(dir.path(), 0755) && give(path, 0644));
      if (obstacle == Obstacle::ReadOnlyFile) QVERIFY(give(path, 0444));
      if (obstacle == Obstacle::ClosedFolder) QVERIFY(give(folder, 0555));
    }
    struct stat before_node {};
    QVERIFY(lstat(old_path.constData(), &before_node) == 0);
    SavingWindow form(saver, text);
    const QStringList before = entries(folder);
    platform.nextSavePath = path;
    {
      AsAccount as_account(step_down);
      if (!real || (step_down && geteuid() == 0))
        qInfo("the obstacle cannot be made here: a simulated write failure stands in"),
            platform.failWritesWith = ENOSPC;
      form.save();
    }
    QCOMPARE(platform.messages.size(), 1);
    const QString message = platform.messages[0], shown = QDir::toNativeSeparators(path);
    QVERIFY2(message.contains(shown) && message.size() > message.indexOf(shown) + shown.size() + 2,
             qPrintable(message));
    if (obstacle == Obstacle::Pipe || obstacle == Obstacle::DeviceNode)
      QVERIFY2(message.endsWith("”：它不是普通文件"), qPrintable(message));
    if (obstacle == Obstacle::ReadOnlyFileAsSuperuser)
      QVERIFY2(message.endsWith("”：文件是只读的"), qPrintable(message));
    // The system's reason, in Chinese, also when the disk took part of a write.
    if (full_disk) QVERIFY2(message.endsWith("”：设备上没有剩余空间"), qPrintable(message));
    // The reason after the file's name is all Chinese.
    const QString reason = message.mid(message.lastIndexOf("”"));
    QVERIFY2(!reason.contains(QRegularExpression("[A-Za-z]")), qPrintable(reason));
    struct stat after_node {};
    QVERIFY(lstat(old_path.constData(), &after_node) == 0);
    QCOMPARE(after_node.st_mode, before_node.st_mode);
    QCOMPARE(after_node.st_ino, before_node.st_ino);
    if (S_ISREG(before_node.st_mode)) QCOMPARE(readFile(path), kOldBytes);
    QCOMPARE(entries(folder), before);
    QVERIFY(form.stillShown());
  }
};

QTEST_MAIN(SaveFailuresTest)
#include "save_failures_test.moc"
