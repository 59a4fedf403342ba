// Running out of memory while a report is built or shown: the command ends
// with the out-of-memory message, the sheet is as it was, no half-built
// results window stays behind, and the next command works. The memory runs
// out for real: the process's address space is limited to a little more
// than it uses, so the large allocations of the report fail wherever they
// happen (the core's report text, the report box's document).
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>
#include <random>

#include "app/form3.h"
#include "goal/goal_commands.h"
#include "results/form2.h"
#include "sheet/sheet_grid.h"
#include "support/recording_platform.h"

using namespace orcalc;
using namespace orcalc::ui;
using orcalc::ui::testing::RecordingPlatform;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// The process's address space now, in bytes.
std::size_t addressSpace() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  return statm.readAll().split(' ').value(0).toULongLong() *
         static_cast<std::size_t>(getpagesize());
}

// Limits the address space to `bytes` while it lives.
class AddressSpaceLimit {
 public:
  explicit AddressSpaceLimit(std::size_t bytes) {
    getrlimit(RLIMIT_AS, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_AS, &limit) == 0;
  }
  ~AddressSpaceLimit() {
    if (active_) setrlimit(RLIMIT_AS, &old_);
  }
  bool active() const { return active_; }
  AddressSpaceLimit(const AddressSpaceLimit&) = delete;
  AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

 private:
  rlimit old_{};
  bool active_ = false;
};

// A dense goal problem whose report runs to tens of megabytes.
void fillGoals(SheetGrid* grid, int size) {
  grid->modifySheet([size](Sheet& sheet) {
    std::mt19937 random(77);
    auto pick = [&](int lo, int hi) {
      return std::to_string(std::uniform_int_distribution<int>(lo, hi)(random));
    };
    for (int i = 1; i <= size; ++i) {
      for (int j = 1; j <= size; ++j) sheet.SetCell(i, j, pick(1, 10));
      sheet.SetCell(i, size + 2, pick(10, 1000));
      for (int k = 3; k <= 6; ++k) sheet.SetCell(i, size + k, pick(1, 5));
    }
  });
}

enum class Ending { Report, OutOfMemory, Other };

}  // namespace

class OutOfMemoryTest : public QObject {
  Q_OBJECT

 private slots:
  void calculationThatRunsOutOfMemoryEndsWithAMessage();
  void savingThatRunsOutOfMemoryKeepsTheOldFile();
};

void OutOfMemoryTest::calculationThatRunsOutOfMemoryEndsWithAMessage() {
  if (kSanitized) QSKIP("the sanitizers' shadow memory does not live under an address-space limit");
  // Large blocks come from the system and go back to it when freed, so that
  // the address space in use is the memory in use.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
  mallopt(M_TRIM_THRESHOLD, 256 * 1024);
  constexpr int kSize = 200;
  RecordingPlatform platform;
  Form3 form;
  form.Text1->setText(QString::number(kSize));
  form.Text2->setText(QString::number(kSize));
  form.ok();
  fillGoals(form.MSFlexGrid1, kSize);
  const Sheet sheet = form.MSFlexGrid1->sheet();
  goal::GoalRequest request;
  request.goals = kSize;
  request.variables = kSize;
  const CalculationOutcome expected = goal::Calculate(request, sheet);
  QVERIFY(expected.report.has_value());
  const std::size_t report_size = expected.report->size();
  QVERIFY2(report_size > 10'000'000, qPrintable(QString::number(report_size)));

  int out_while_building = 0;
  int out_while_showing = 0;
  std::string shown;
  platform.onModal = [&shown](QDialog* dialog) {
    if (auto* results = qobject_cast<Form2*>(dialog)) shown = results->reportBytes().toStdString();
  };
  // Runs Calculate with `headroom` bytes of address space beyond what the
  // process uses, and checks how it ended.
  auto calculate = [&](std::size_t headroom) -> Ending {
    platform.messages.clear();
    shown.clear();
    {
      AddressSpaceLimit limit(addressSpace() + headroom);
      if (!limit.active()) return Ending::Other;
      form.calculate();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (form.MSFlexGrid1->sheet() != sheet) return Ending::Other;
    // A results window whose report could not be loaded is not left behind.
    if (!form.findChildren<Form2*>().isEmpty()) return Ending::Other;
    if (platform.messages == QStringList{QString::fromUtf8(kOutOfMemoryMessage)} && shown.empty()) {
      // Where it ran out: the core alone either fits in the same room (then
      // it was the results window) or not.
      bool core_fits = false;
      try {
        AddressSpaceLimit limit(addressSpace() + headroom);
        core_fits = goal::Calculate(request, sheet).report.has_value();
      } catch (const std::bad_alloc&) {
      }
      ++(core_fits ? out_while_showing : out_while_building);
      return Ending::OutOfMemory;
    }
    QStringList messages;
    for (const std::string& m : expected.messages) messages << QString::fromStdString(m);
    if (platform.messages == messages && shown == *expected.report) return Ending::Report;
    return Ending::Other;
  };

  // Far too little, then plenty: the two ends.
  QCOMPARE(calculate(report_size / 4), Ending::OutOfMemory);
  QCOMPARE(calculate(report_size * 12), Ending::Report);
  // In between, the memory runs out at every stage on the way: while the
  // report is built, while the report box loads it, or not at all. Each
  // ends cleanly.
  std::size_t low = report_size / 4;
  std::size_t high = report_size * 12;
  while (high - low > report_size / 8) {
    const std::size_t middle = low + (high - low) / 2;
    const Ending ending = calculate(middle);
    QVERIFY2(ending != Ending::Other, qPrintable(QStringLiteral("headroom %1").arg(middle)));
    (ending == Ending::Report ? high : low) = middle;
  }
  QVERIFY(out_while_building > 0);
  QVERIFY(out_while_showing > 0);
  // And the window works as before.
  QCOMPARE(calculate(report_size * 12), Ending::Report);
}

void OutOfMemoryTest::savingThatRunsOutOfMemoryKeepsTheOldFile() {
  if (kSanitized) QSKIP("the sanitizers' shadow memory does not live under an address-space limit");
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
  mallopt(M_TRIM_THRESHOLD, 256 * 1024);
  RecordingPlatform platform;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.txt"));
  {
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("earlier\r\n") == 9);
  }
  std::string report;
  while (report.size() < 40'000'000) report += "第1个变量 χ1 =  .333333333333333\r\n";
  Form2 form;
  form.setReportText(report);
  form.show();
  platform.nextSavePath = path;
  // Saving copies and converts the text; there is room for none of it.
  bool escaped = false;
  {
    AddressSpaceLimit limit(addressSpace() + 8'000'000);
    QVERIFY(limit.active());
    try {
      form.save();
    } catch (const std::bad_alloc&) {
      escaped = true;
    }
  }
  QVERIFY2(!escaped, "running out of memory escaped the save command");
  QCOMPARE(platform.messages.size(), 1);
  QVERIFY(platform.messages[0].contains(QDir::toNativeSeparators(path)));
  QFile old(path);
  QVERIFY(old.open(QIODevice::ReadOnly));
  QCOMPARE(old.readAll(), QByteArray("earlier\r\n"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.txt"});
  QVERIFY(form.isVisible());
  // With memory again, the same window saves.
  form.save();
  QCOMPARE(platform.messages.size(), 1);
  QCOMPARE(QFileInfo(path).size(), qint64(report.size() / 39 * 35));  // GB18030: 35 bytes a line
}

QTEST_MAIN(OutOfMemoryTest)
#include "out_of_memory_test.moc"
