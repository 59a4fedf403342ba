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

enum class Obstacle { ReadOnlyFile, ClosedFolder, FullDisk };

const QByteArray kOldBytes = "earlier report\r\n";

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
    if (root && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0)) qFatal("cannot return to root");
  }
  const bool root;
};

class SaveFailuresTest : public QObject {
  Q_OBJECT

 private slots:
  void refusedSave_data() {
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<int>("size");
    QTest::addRow("read-only file") << Obstacle::ReadOnlyFile << 800;
    // The file itself is writable: only a temporary file beside it is refused,
    // and the save must not fall back to writing over the file.
    QTest::addRow("closed folder") << Obstacle::ClosedFolder << 800;
    QTest::addRow("full disk") << Obstacle::FullDisk << 200'000;
    // A short report stays in the write buffer until the last flush, which is
    // where a full disk shows.
    QTest::addRow("full disk, short report") << Obstacle::FullDisk << 40;
  }

  void refusedSave() {
    QFETCH(Obstacle, obstacle);
    QFETCH(int, size);
    const std::string text = std::string(size, '7') + "\r\n";
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString folder = dir.filePath("folder"), path = folder + "/old.txt";
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QByteArray native = QFile::encodeName(folder);
    const bool full_disk = obstacle == Obstacle::FullDisk;
    const bool mounted = full_disk && mount("tmpfs", native.constData(), "tmpfs",
                                            MS_NOSUID | MS_NODEV, "size=64k,mode=0777") == 0;
    const auto unmount = qScopeGuard([&] { umount2(native.constData(), MNT_DETACH); });
    QVERIFY(writeFile(path, kOldBytes));
    bool real = full_disk ? mounted : account() && account()->pw_uid != 0;
    if (full_disk && real) {
      QFile filler(folder + "/filler");
      QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
      while (filler.write(QByteArray(4096, 'x')) == 4096) continue;
    } else if (real) {
      QVERIFY(give(dir.path(), 0755) && give(path, 0644));
      if (obstacle == Obstacle::ReadOnlyFile) QVERIFY(give(path, 0444));
      if (obstacle == Obstacle::ClosedFolder) QVERIFY(give(folder, 0555));
    }
    Form2 form;
    form.setReportText(text);
    form.show();
    const QStringList before = entries(folder);
    platform.nextSavePath = path;
    {
      AsAccount as_account(real && !full_disk);
      if (!real || (!full_disk && geteuid() == 0))
        qInfo("the obstacle cannot be made here: a simulated write failure stands in"),
            platform.failWrites = QStringLiteral("simulated write failure");
      form.save();
    }
    QCOMPARE(platform.messages.size(), 1);
    const QString message = platform.messages[0], shown = QDir::toNativeSeparators(path);
    QVERIFY2(message.contains(shown) && message.size() > message.indexOf(shown) + shown.size() + 2,
             qPrintable(message));
    QCOMPARE(readFile(path), kOldBytes);
    QCOMPARE(entries(folder), before);
    QVERIFY(form.isVisible() && form.reportBytes().toStdString() == text);
  }
};

QTEST_MAIN(SaveFailuresTest)
#include "save_failures_test.moc"
