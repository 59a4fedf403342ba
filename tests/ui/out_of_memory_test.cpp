// Running out of memory while a report is built, while it is shown and while
// it is saved: the command ends with a message, the sheet and the old file
// stay as they were, and the window goes on working. The memory runs out for
// real: the address space is limited to a little more than the process uses
// (over a ladder of margins fine enough to run out at every stage of a
// calculation). The sanitizers reserve terabytes of shadow memory up front:
// no such limit holds there, and the test skips.
#include <Qsci/qsciscintilla.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include "goal/goal_commands.h"
#include "support/window_helpers.h"

namespace orcalc::ui::testing {

std::size_t addressSpace() {
  return readFile("/proc/self/statm").split(' ')[0].toULong() * getpagesize();
}

// Runs `command` with the address space limited to `margin` bytes beyond what
// is in use (the test runs without a limit of its own).
void limited(double margin, const std::function<void()>& command) {
  rlimit limit{addressSpace() + rlim_t(margin), RLIM_INFINITY};
  setrlimit(RLIMIT_AS, &limit);
  command();
  limit.rlim_cur = RLIM_INFINITY;
  setrlimit(RLIMIT_AS, &limit);
}

class OutOfMemoryTest : public QObject {
  Q_OBJECT

 private slots:
  void commandsEndWithAMessage() {
    if (addressSpace() > (std::size_t(1) << 40)) QSKIP("no address-space limit holds here");
    // Large blocks come from the system and go back to it when freed, so that
    // the address space in use is the memory in use.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024);
    RecordingPlatform platform;
    GoalWindow form;
    layOut(form, 200, 200);
    form.grid()->modifySheet([](Sheet& sheet) {  // dense, with a report of megabytes
      for (int i = 1; i <= 200; ++i)
        for (int j = 1; j <= 206; ++j)
          if (j != 201) sheet.SetCell(i, j, std::to_string((i * 37 + j * j) % 5 + 1));
    });
    const Sheet sheet = form.grid()->sheet();
    const int size = int(goal::Calculate({200, 200}, sheet).report.value().size());
    // The length of the report in the results window; how often memory ran out.
    int shown = 0, ran_out = 0;
    platform.onModal = [&shown](QDialog* d) {
      shown = static_cast<ResultsWindow*>(d)->reportBox()->length();
    };
    for (double margin = size / 4.0; margin < size * 12.0; margin *= 1.1) {
      shown = 0;
      platform.messages.clear();
      limited(margin, [&] { form.calculate(); });
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QVERIFY(form.grid()->sheet() == sheet && form.findChildren<ResultsWindow*>().isEmpty());
      QVERIFY(shown ? shown == size && platform.messages.isEmpty()
                    : platform.messages == QStringList{QString::fromUtf8(kOutOfMemoryMessage)});
      ran_out += !shown;
    }
    QVERIFY(ran_out > 5 && shown == size);

    // Saving with no room, then with room. The text goes out converted piece
    // by piece, so a save needs little memory of its own; the first one in a
    // process also loads the converter, which cannot happen without room.
    QTemporaryDir dir;
    const QString path = platform.nextSavePath = dir.filePath(QStringLiteral("report.txt"));
    QVERIFY(writeFile(path, "earlier\r\n"));
    ResultsWindow results;
    results.setReportText(std::string(2'000'000, '7'));
    limited(0, [&results] { results.save(); });
    QCOMPARE(platform.messages.filter(QDir::toNativeSeparators(path)).size(), 1);
    QCOMPARE(readFile(path), QByteArray("earlier\r\n"));
    results.save();
    QCOMPARE(readFile(path), QByteArray(2'000'000, '7'));
  }
};

}  // namespace orcalc::ui::testing

QTEST_MAIN(orcalc::ui::testing::OutOfMemoryTest)
#include "out_of_memory_test.moc"
