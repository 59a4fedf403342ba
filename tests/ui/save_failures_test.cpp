// Saving a report where the file cannot be written: over a read-only file,
// into a folder without write access, onto a full file system. Each time one
// message names the file and gives a reason, the old file stays as it was, no
// temporary file is left behind, and the window stays open with its text.
//
// The superuser ignores permission bits, so as root the permission cases save
// with the ids of "nobody"; the full file system is a 64 KB tmpfs. Where
// neither is possible, a write failure simulated through the platform's file
// writer stands in, and the test says so.
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/window_helpers.h"

using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

enum class Obstacle { ReadOnlyFile, ClosedFolder, FullDisk };

const QByteArray kOldBytes = "earlier report\r\n";

std::string report(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "第" + std::to_string(i) + "行 目标函数值 S = 12\r\n";
  return text;
}

// The account permissions are checked against: this one, or "nobody" as root.
const passwd* account() { return geteuid() == 0 ? getpwnam("nobody") : getpwuid(geteuid()); }

// Gives `path` to the account with `mode`.
bool give(const QString& path, mode_t mode) {
  const QByteArray name = QFile::encodeName(path);
  if (geteuid() == 0 && chown(name.constData(), account()->pw_uid, account()->pw_gid) != 0)
    return false;
  return chmod(name.constData(), mode) == 0;
}

// Runs as the account while it lives, when asked to and root; root stays the
// saved id to return to.
class AsAccount {
 public:
  explicit AsAccount(bool step_down) : root_(step_down && geteuid() == 0) {
    const passwd* user = account();
    if (root_ && (setresgid(user->pw_gid, user->pw_gid, 0) != 0 ||
                  setresuid(user->pw_uid, user->pw_uid, 0) != 0))
      qInfo("cannot step down from root");
  }
  ~AsAccount() {
    if (root_ && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
      qFatal("cannot return to root");
  }

 private:
  bool root_;
};

}  // namespace

class SaveFailuresTest : public QObject {
  Q_OBJECT

 private slots:
  void refusedSave_data() {
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("lines");
    QTest::addRow("read-only file") << Obstacle::ReadOnlyFile << "old.txt" << 20;
    // The file itself is writable: only a temporary file beside it is refused,
    // and the save must not fall back to writing over the file.
    QTest::addRow("closed folder, old file") << Obstacle::ClosedFolder << "old.txt" << 20;
    QTest::addRow("closed folder, new file") << Obstacle::ClosedFolder << "new.txt" << 20;
    QTest::addRow("full disk") << Obstacle::FullDisk << "old.txt" << 5000;
    // A short report stays in the write buffer until the last flush, which is
    // where a full disk shows.
    QTest::addRow("full disk, short report") << Obstacle::FullDisk << "old.txt" << 1;
  }

  void refusedSave() {
    QFETCH(Obstacle, obstacle);
    QFETCH(QString, name);
    QFETCH(int, lines);
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString folder = dir.filePath("folder"), path = folder + '/' + name;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QByteArray native = QFile::encodeName(folder);
    const bool full_disk = obstacle == Obstacle::FullDisk;
    const bool mounted = full_disk && mount("tmpfs", native.constData(), "tmpfs",
                                            MS_NOSUID | MS_NODEV, "size=64k,mode=0777") == 0;
    const auto unmount = qScopeGuard([&] { umount2(native.constData(), MNT_DETACH); });
    QVERIFY(writeFile(folder + "/old.txt", kOldBytes));
    bool real = full_disk ? mounted : account() && account()->pw_uid != 0;
    if (full_disk && real) {
      QFile filler(folder + "/filler");
      QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
      while (filler.write(QByteArray(4096, 'x')) == 4096) continue;
    } else if (real) {
      QVERIFY(give(dir.path(), 0755) && give(folder + "/old.txt", 0644));
      if (obstacle == Obstacle::ReadOnlyFile) QVERIFY(give(folder + "/old.txt", 0444));
      if (obstacle == Obstacle::ClosedFolder) QVERIFY(give(folder, 0555));
    }
    Form2 form;
    form.setReportText(report(lines));
    form.show();
    const QStringList before = entries(folder);
    platform.nextSavePath = path;
    {
      AsAccount as_account(real && !full_disk);
      if (!real || (!full_disk && geteuid() == 0)) {
        qInfo("the obstacle cannot be made here: a simulated write failure stands in");
        platform.failWrites = QStringLiteral("simulated write failure");
      }
      form.save();
    }
    QCOMPARE(platform.messages.size(), 1);
    const QString message = platform.messages[0], shown = QDir::toNativeSeparators(path);
    QVERIFY2(message.contains(shown) && message.size() > message.indexOf(shown) + shown.size() + 2,
             qPrintable(message));
    if (name == "old.txt")
      QCOMPARE(readFile(path), kOldBytes);
    else
      QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(entries(folder), before);
    QVERIFY(form.isVisible());
    QCOMPARE(form.reportBytes().toStdString(), report(lines));
  }
};

QTEST_MAIN(SaveFailuresTest)
#include "save_failures_test.moc"
