// Reading a sheet file from a path: the windows take regular files only and
// never block on a pipe; nothing is read beyond the size limit.
#include "files/sheet_file_source.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "file_test_support.h"

namespace orcalc::files {
namespace {

using testing::ScratchFolder;
using testing::WriteAll;

TEST(SheetFileSource, RefusesWhatIsNotARegularFileWithoutBlocking) {
  const ScratchFolder folder;
  const std::string fifo = folder.file("pipe.csv");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  // A pipe with no writer: opening it would wait for one for ever.
  auto reading = std::async(std::launch::async,
                            [&] { return ReadSheetFileAt(fifo, Source::RegularFileOnly); });
  if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    // Let the stuck reader go before failing.
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
    FAIL() << "reading a pipe with no writer blocked";
  }
  EXPECT_EQ(reading.get().problem, SheetFileProblem::NotRegular);
  for (const std::string& path : {folder.file(""), std::string("/dev/null")}) {
    const SheetFileResult read = ReadSheetFileAt(path, Source::RegularFileOnly);
    EXPECT_EQ(read.problem, SheetFileProblem::NotRegular) << path;
    EXPECT_FALSE(read.ok);
  }
  // The command line reads a device as it is: /dev/null is an empty file.
  EXPECT_EQ(ReadSheetFileAt("/dev/null", Source::AnyReadable).problem, SheetFileProblem::Empty);
  const SheetFileResult missing =
      ReadSheetFileAt(folder.file("missing.csv"), Source::RegularFileOnly);
  EXPECT_EQ(missing.problem, SheetFileProblem::OpenFailed);
  EXPECT_EQ(missing.error_number, ENOENT);
}

TEST(SheetFileSource, RefusesAHugeFileWithoutReadingIt) {
  const ScratchFolder folder;
  const std::string path = folder.file("huge.csv");
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, off_t{1} << 30), 0);  // 1 GB, sparse
  ::close(fd);
  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  const auto start = std::chrono::steady_clock::now();
  const SheetFileResult read = ReadSheetFileAt(path, Source::RegularFileOnly);
  const auto took = std::chrono::steady_clock::now() - start;
  rusage after{};
  ::getrusage(RUSAGE_SELF, &after);
  EXPECT_EQ(read.problem, SheetFileProblem::TooLarge);
  EXPECT_LT(took, std::chrono::seconds(1));
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "kilobytes";
  // Just at the limit it is read; one byte more is too much.
  const std::string limit = folder.file("limit.csv");
  ASSERT_TRUE(WriteAll(limit, std::string(kSheetFileMaxBytes, '1')));
  EXPECT_TRUE(ReadSheetFileAt(limit, Source::RegularFileOnly).ok);
  ASSERT_TRUE(WriteAll(limit, std::string(kSheetFileMaxBytes + 1, '1')));
  EXPECT_EQ(ReadSheetFileAt(limit, Source::AnyReadable).problem, SheetFileProblem::TooLarge);
}

TEST(SheetFileSource, ReadsFilesAndPipesWithAWriter) {
  const ScratchFolder folder;
  const std::string path = folder.file("sheet.csv");
  ASSERT_TRUE(WriteAll(path, ",χ1 系数\n目标函数系数,3\n"));
  const SheetFileResult read = ReadSheetFileAt(path, Source::RegularFileOnly);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.sheet.Cell(1, 1), "3");
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ASSERT_EQ(::write(ends[1], "a,b\n", 4), 4);
  ::close(ends[1]);
  const SheetFileResult piped = ReadSheetFileFrom(ends[0]);
  ::close(ends[0]);
  ASSERT_TRUE(piped.ok);
  EXPECT_EQ(piped.sheet.Cell(0, 1), "b");
}

}  // namespace
}  // namespace orcalc::files
