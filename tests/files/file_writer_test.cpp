// The one file writer: what it refuses, what a failure at each step leaves
// behind (the old file as it was, no temporary file), and what a replaced
// file keeps.
#include "files/file_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>

#include "common/test_support.h"
#include "file_test_support.h"

namespace orcalc::files {
namespace {

using testing::ModeOf;
using testing::ReadAll;
using testing::ScratchFolder;
using testing::WriteAll;

const std::string kOld = "old bytes\n";
const std::string kNew = "new bytes\n";

enum class Target { Fifo, DeviceNode, Folder, ReadOnlyFile };

struct RefusalRow {
  const char* what;
  Target target;
  WriteStep step;
};

class WriterRefusal : public ::testing::TestWithParam<RefusalRow> {};

// Makes the obstacle at `path`; false when it cannot be made here.
bool Make(Target target, const std::string& path) {
  switch (target) {
    case Target::Fifo:
      return ::mkfifo(path.c_str(), 0666) == 0;
    case Target::DeviceNode:  // the device numbers of /dev/null; needs the superuser
      return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    case Target::Folder:
      return ::mkdir(path.c_str(), 0755) == 0;
    case Target::ReadOnlyFile:
      return WriteAll(path, kOld) && ::chmod(path.c_str(), 0444) == 0;
  }
  return false;
}

TEST_P(WriterRefusal, LeavesTheTargetAsItWas) {
  const RefusalRow& row = GetParam();
  const ScratchFolder folder;
  const std::string path = folder.file("target");
  if (!Make(row.target, path)) GTEST_SKIP() << "this node cannot be made here";
  const mode_t mode = ModeOf(path);
  const std::string listing = folder.listing();
  bool produced = false;
  const WriteOutcome outcome = WriteFileAtomically(path, [&](const ByteSink& sink) {
    produced = true;
    return sink(kNew);
  });
  EXPECT_EQ(outcome.step, row.step);
  EXPECT_FALSE(produced) << "refused before anything is made";
  EXPECT_EQ(ModeOf(path), mode);
  EXPECT_EQ(folder.listing(), listing);
  if (row.target == Target::ReadOnlyFile) {
    EXPECT_EQ(ReadAll(path), kOld);
  }
  EXPECT_EQ(CheckWriteTarget(path).step, row.step);
  // Through a symbolic link, the same.
  const std::string link = folder.file("link");
  ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
  EXPECT_EQ(WriteFileAtomically(link, kNew).step, row.step);
  EXPECT_TRUE(S_ISLNK(ModeOf(link)));
}

// The read-only file is refused by its permission bits, also when the test
// runs as the superuser, who could write it.
INSTANTIATE_TEST_SUITE_P(
    Targets, WriterRefusal,
    ::testing::Values(RefusalRow{"pipe", Target::Fifo, WriteStep::NotRegular},
                      RefusalRow{"device node", Target::DeviceNode, WriteStep::NotRegular},
                      RefusalRow{"folder", Target::Folder, WriteStep::NotRegular},
                      RefusalRow{"read-only file", Target::ReadOnlyFile, WriteStep::ReadOnly}),
    RowName());

struct FailureRow {
  const char* what;
  WriteCall write;
  bool producer_gives_up;
  WriteStep step;
  int error_number;
  const char* description;
};

class WriterFailure : public ::testing::TestWithParam<FailureRow> {};

// A disk that takes `room` bytes, then is full.
WriteCall FullAfter(std::size_t room) {
  auto left = std::make_shared<std::size_t>(room);
  return [left](int fd, const char* data, std::size_t size) -> long {
    if (*left == 0) {
      errno = ENOSPC;
      return -1;
    }
    const std::size_t n = std::min(size, *left);
    *left -= n;
    return static_cast<long>(::write(fd, data, n));
  };
}

TEST_P(WriterFailure, LeavesTheOldFileAndNoTemporaryFile) {
  const FailureRow& row = GetParam();
  const ScratchFolder folder;
  const std::string path = folder.file("old.txt");
  ASSERT_TRUE(WriteAll(path, kOld));
  const std::string listing = folder.listing();
  const std::string big(100'000, 'x');
  const WriteOutcome outcome = WriteFileAtomically(
      path,
      [&](const ByteSink& sink) {
        // Several pieces; the writer asks for no more after a failure.
        for (int i = 0; i < 4; ++i)
          if (!sink(big)) return false;
        return !row.producer_gives_up;
      },
      row.write);
  EXPECT_EQ(outcome.step, row.step);
  EXPECT_EQ(outcome.error_number, row.error_number);
  EXPECT_EQ(DescribeWriteFailure(outcome), row.description);
  EXPECT_EQ(ReadAll(path), kOld);
  EXPECT_EQ(folder.listing(), listing);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WriterFailure,
    ::testing::Values(FailureRow{"full at once", FullAfter(0), false, WriteStep::Write, ENOSPC,
                                 "error while writing: No space left on device"},
                      FailureRow{"full part-way", FullAfter(150'000), false, WriteStep::Write,
                                 ENOSPC, "error while writing: No space left on device"},
                      // A device that takes nothing and says nothing: the step is named.
                      FailureRow{"no progress, no reason",
                                 [](int, const char*, std::size_t) -> long {
                                   errno = 0;
                                   return 0;
                                 },
                                 false, WriteStep::Write, 0, "error while writing"},
                      FailureRow{"producer gives up",
                                 {},
                                 true,
                                 WriteStep::Produce,
                                 0,
                                 "the content could not be made (out of memory)"}),
    RowName());

TEST(Writer, WritesNewFilesAndReplacesOldOnesKeepingTheirModes) {
  const ScratchFolder folder;
  // A new file: the usual bits under the umask.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  const std::string fresh = folder.file("fresh.txt");
  ASSERT_TRUE(WriteFileAtomically(fresh, kNew).ok());
  EXPECT_EQ(ReadAll(fresh), kNew);
  EXPECT_EQ(ModeOf(fresh) & 07777, 0666 & ~mask);
  // A replaced file keeps its bits, however few.
  for (const mode_t mode : {mode_t{0640}, mode_t{0604}, mode_t{0200}, mode_t{0755}}) {
    const std::string path = folder.file("kept.txt");
    ASSERT_TRUE(WriteAll(path, kOld) && ::chmod(path.c_str(), mode) == 0);
    ASSERT_TRUE(WriteFileAtomically(path, kNew).ok()) << std::oct << mode;
    EXPECT_EQ(ReadAll(path), kNew);
    EXPECT_EQ(ModeOf(path) & 07777, mode);
  }
  // Through a symbolic link: the file it names is replaced, the link stays.
  const std::string target = folder.file("named.txt"), link = folder.file("link.txt");
  ASSERT_TRUE(WriteAll(target, kOld) && ::symlink(target.c_str(), link.c_str()) == 0);
  ASSERT_TRUE(WriteFileAtomically(link, kNew).ok());
  EXPECT_TRUE(S_ISLNK(ModeOf(link)));
  EXPECT_EQ(ReadAll(target), kNew);
  // Empty content makes an empty file.
  ASSERT_TRUE(WriteFileAtomically(target, std::string_view()).ok());
  EXPECT_EQ(ReadAll(target), "");
  EXPECT_EQ(folder.listing(), "fresh.txt;kept.txt;link.txt;named.txt;");
}

TEST(Writer, NamesTheSystemsReasonWhenNoFileCanBeMade) {
  const ScratchFolder folder;
  const WriteOutcome outcome = WriteFileAtomically(folder.file("no/such/folder.txt"), kNew);
  EXPECT_EQ(outcome.step, WriteStep::Create);
  EXPECT_EQ(outcome.error_number, ENOENT);
  EXPECT_EQ(DescribeWriteFailure(outcome),
            "cannot create a temporary file beside it: No such file or directory");
}

}  // namespace
}  // namespace orcalc::files
