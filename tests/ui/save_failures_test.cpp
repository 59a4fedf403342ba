// Saving a report where the file cannot be written: over a read-only file,
// into a folder without write access, onto a full file system and onto a
// read-only file system. Each time: one message naming the file and the
// reason, the old file as it was, no temporary file left behind, and the
// window open with its text.
//
// The superuser ignores permission bits, so as root the permission cases run
// with the user and group ids of "nobody" for the moment of the save; the
// file-system cases mount a small tmpfs. Where neither is possible (no such
// user, no right to mount) the same checks run against a write failure
// simulated through the platform's file writer, and the test says so.
#include <errno.h>
#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>
#include <string>

#include "results/form2.h"
#include "support/recording_platform.h"

using orcalc::ui::Form2;
using orcalc::ui::testing::RecordingPlatform;

namespace {

const QByteArray kOldBytes = "earlier report\r\n";

// A report of `lines` lines with Chinese text, as the windows produce them.
std::string report(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "第" + std::to_string(i) + "行 目标函数值 S = 12\r\n";
  return text;
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("<unreadable>");
  return file.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QStringList entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs with the user and group ids of an unprivileged account while it
// lives, so that permission bits bind; keeps root as the saved id to return.
class Unprivileged {
 public:
  Unprivileged(uid_t uid, gid_t gid) {
    if (geteuid() != 0) return;
    if (setresgid(gid, gid, 0) != 0) return;
    if (setresuid(uid, uid, 0) != 0) {
      setresgid(0, 0, 0);
      return;
    }
    active_ = true;
  }
  ~Unprivileged() {
    if (!active_) return;
    if (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0) qFatal("cannot return to root");
  }
  bool active() const { return active_; }
  Unprivileged(const Unprivileged&) = delete;
  Unprivileged& operator=(const Unprivileged&) = delete;

 private:
  bool active_ = false;
};

// The account whose permissions the test runs under: the current one, or
// "nobody" when the test runs as root. Empty when root cannot step down.
struct Account {
  uid_t uid;
  gid_t gid;
};
std::optional<Account> permissionBoundAccount() {
  if (geteuid() != 0) return Account{geteuid(), getegid()};
  const passwd* nobody = getpwnam("nobody");
  if (!nobody || nobody->pw_uid == 0) return std::nullopt;
  Account account{nobody->pw_uid, nobody->pw_gid};
  Unprivileged probe(account.uid, account.gid);
  if (!probe.active()) return std::nullopt;
  return account;
}

bool giveTo(const QString& path, const Account& account, mode_t mode) {
  const QByteArray native = QFile::encodeName(path);
  if (geteuid() == 0 && chown(native.constData(), account.uid, account.gid) != 0) return false;
  return chmod(native.constData(), mode) == 0;
}

// A tmpfs of `size` mounted on `path` while it lives (root only).
class SmallFileSystem {
 public:
  SmallFileSystem(const QString& path, const char* size) : path_(QFile::encodeName(path)) {
    const QByteArray options = QByteArray("size=") + size + ",mode=0777";
    mounted_ =
        mount("tmpfs", path_.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0;
  }
  ~SmallFileSystem() {
    if (mounted_) umount2(path_.constData(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  bool makeReadOnly() {
    return mount(nullptr, path_.constData(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
                 nullptr) == 0;
  }
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;

 private:
  QByteArray path_;
  bool mounted_ = false;
};

// Fills the file system holding `dir` with one file until it is full.
bool fill(const QString& dir) {
  QFile filler(QDir(dir).filePath("filler"));
  if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  const QByteArray block(4096, 'x');
  while (filler.write(block) == block.size()) {
  }
  return true;
}

// Saves the form's text to `path`, which cannot be written, and checks the
// outcome: one message naming the file with a reason, the old bytes kept,
// the folder as it was, the window open with its text.
void expectRefusedSave(Form2& form, RecordingPlatform& platform, const QString& path,
                       const std::optional<QByteArray>& old_bytes, const QString& reason_part) {
  const QString dir = QFileInfo(path).absolutePath();
  const QStringList before = entries(dir);
  const QByteArray text = form.reportBytes();
  platform.messages.clear();
  platform.nextSavePath = path;
  form.save();
  QCOMPARE(platform.messages.size(), 1);
  const QString message = platform.messages[0];
  const QString name = QDir::toNativeSeparators(path);
  QVERIFY2(message.contains(name), qPrintable(message));
  const QString reason = message.mid(message.indexOf(name) + name.size());
  QVERIFY2(reason.size() > 2, qPrintable(message));
  if (!reason_part.isEmpty()) QVERIFY2(message.contains(reason_part), qPrintable(message));
  if (old_bytes)
    QCOMPARE(readFile(path), *old_bytes);
  else
    QVERIFY(!QFileInfo::exists(path));
  QCOMPARE(entries(dir), before);  // no temporary file left behind
  QVERIFY(form.isVisible());
  QCOMPARE(form.reportBytes(), text);
  // The name tried is still the one offered next time.
  platform.nextSavePath.clear();
  form.save();
  QCOMPARE(platform.saveRequests.last().initialPath, path);
  QCOMPARE(platform.messages.size(), 1);
}

QByteArray gb18030(const std::string& text) {
  return QStringEncoder("GB18030").encode(QString::fromStdString(text));
}

}  // namespace

class SaveFailuresTest : public QObject {
  Q_OBJECT

 private slots:
  void readOnlyFileIsRefusedAndKept();
  void folderWithoutWriteAccessKeepsItsFiles();
  void fullFileSystemKeepsTheOldFile();
  void readOnlyFileSystemRefusesOldAndNewNames();
};

void SaveFailuresTest::readOnlyFileIsRefusedAndKept() {
  RecordingPlatform platform;
  QTemporaryDir dir;
  const QString path = dir.filePath("locked.txt");
  QVERIFY(writeFile(path, kOldBytes));
  Form2 form;
  form.setReportText(report(20));
  form.show();

  const std::optional<Account> account = permissionBoundAccount();
  if (!account) {
    qInfo("cannot run without write permission here: a simulated write failure stands in");
    platform.failWrites = QStringLiteral("Permission denied");
    expectRefusedSave(form, platform, path, kOldBytes, *platform.failWrites);
    return;
  }
  // The folder is writable, so only the file's own read-only bit stops a
  // replacement (a temporary file renamed over it would otherwise succeed).
  QVERIFY(giveTo(dir.path(), *account, 0755));
  QVERIFY(giveTo(path, *account, 0444));
  {
    Unprivileged as_user(account->uid, account->gid);
    QVERIFY(geteuid() != 0);
    expectRefusedSave(form, platform, path, kOldBytes, QString());
  }
  // Writable again: the same window saves over it.
  QVERIFY(giveTo(path, *account, 0644));
  platform.nextSavePath = path;
  form.save();
  QCOMPARE(platform.messages.size(), 1);
  QCOMPARE(readFile(path), gb18030(report(20)));
}

void SaveFailuresTest::folderWithoutWriteAccessKeepsItsFiles() {
  RecordingPlatform platform;
  QTemporaryDir dir;
  const QString folder = dir.filePath("closed");
  QVERIFY(QDir(dir.path()).mkdir("closed"));
  const QString existing = QDir(folder).filePath("old.txt");
  const QString fresh = QDir(folder).filePath("new.txt");
  QVERIFY(writeFile(existing, kOldBytes));
  Form2 form;
  form.setReportText(report(20));
  form.show();

  const std::optional<Account> account = permissionBoundAccount();
  if (!account) {
    qInfo("cannot run without write permission here: a simulated write failure stands in");
    platform.failWrites = QStringLiteral("Permission denied");
    expectRefusedSave(form, platform, existing, kOldBytes, *platform.failWrites);
    expectRefusedSave(form, platform, fresh, std::nullopt, *platform.failWrites);
    return;
  }
  // The file itself is writable: only an atomic save (a temporary file in
  // the folder) is refused, and it must not fall back to truncating the file.
  QVERIFY(giveTo(dir.path(), *account, 0755));
  QVERIFY(giveTo(existing, *account, 0644));
  QVERIFY(giveTo(folder, *account, 0555));
  {
    Unprivileged as_user(account->uid, account->gid);
    QVERIFY(geteuid() != 0);
    expectRefusedSave(form, platform, existing, kOldBytes, QString());
    expectRefusedSave(form, platform, fresh, std::nullopt, QString());
  }
}

void SaveFailuresTest::fullFileSystemKeepsTheOldFile() {
  RecordingPlatform platform;
  QTemporaryDir dir;
  const QString disk = dir.filePath("disk");
  QVERIFY(QDir(dir.path()).mkdir("disk"));
  const QString path = QDir(disk).filePath("report.txt");
  Form2 form;
  form.setReportText(report(5000));  // about 200 KB, more than the disk holds
  form.show();

  SmallFileSystem small(disk, "64k");
  if (!small.mounted()) {
    qInfo("cannot mount a small file system here (%s): a simulated write failure stands in",
          strerror(errno));
    QVERIFY(writeFile(path, kOldBytes));
    platform.failWrites = QStringLiteral("No space left on device");
    expectRefusedSave(form, platform, path, kOldBytes, *platform.failWrites);
    return;
  }
  QVERIFY(writeFile(path, kOldBytes));
  QVERIFY(fill(disk));
  expectRefusedSave(form, platform, path, kOldBytes, QString());
  // A short report stays in the write buffer until the last flush, which is
  // where the full disk shows up: it must not replace the old file either.
  form.setReportText(report(1));
  expectRefusedSave(form, platform, path, kOldBytes, QString());

  // With room again, the same window saves over the old file.
  QVERIFY(QFile::remove(QDir(disk).filePath("filler")));
  platform.nextSavePath = path;
  form.save();
  QCOMPARE(platform.messages.size(), 1);
  QCOMPARE(readFile(path), gb18030(report(1)));
}

void SaveFailuresTest::readOnlyFileSystemRefusesOldAndNewNames() {
  RecordingPlatform platform;
  QTemporaryDir dir;
  const QString disk = dir.filePath("disk");
  QVERIFY(QDir(dir.path()).mkdir("disk"));
  SmallFileSystem small(disk, "64k");
  if (!small.mounted()) QSKIP("cannot mount a file system here");
  const QString existing = QDir(disk).filePath("old.txt");
  QVERIFY(writeFile(existing, kOldBytes));
  QVERIFY(small.makeReadOnly());
  Form2 form;
  form.setReportText(report(20));
  form.show();
  expectRefusedSave(form, platform, existing, kOldBytes, QString());
  expectRefusedSave(form, platform, QDir(disk).filePath("new.txt"), std::nullopt, QString());
}

QTEST_MAIN(SaveFailuresTest)
#include "save_failures_test.moc"
