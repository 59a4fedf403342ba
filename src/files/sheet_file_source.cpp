#include "files/sheet_file_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

namespace orcalc::files {
namespace {

SheetFileResult Refused(SheetFileProblem problem, int error_number, std::string error) {
  SheetFileResult result;
  result.problem = problem;
  result.error_number = error_number;
  result.error = std::move(error);
  return result;
}

SheetFileResult NotRegular() {
  return Refused(SheetFileProblem::NotRegular, 0,
                 "not a regular file (a folder, a device, a pipe or a socket)");
}

SheetFileResult CannotOpen(int error_number) {
  return Refused(SheetFileProblem::OpenFailed, error_number, std::strerror(error_number));
}

ReadBytes ReaderOf(int fd) {
  return [fd](char* buffer, std::size_t size) -> long {
    for (;;) {
      const ssize_t got = ::read(fd, buffer, size);
      if (got >= 0 || errno != EINTR) return static_cast<long>(got);
    }
  };
}

SheetFileResult ReadOpened(int fd, std::size_t expected_size) {
  return ReadSheetCsvFrom(ReaderOf(fd), expected_size);
}

// Closes the descriptor it holds when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// Opens the file at `path` as `source` allows and hands it to `consume`
// with its size when that is known.
SheetFileResult OpenAndRead(
    const std::string& path, Source source,
    const std::function<SheetFileResult(int fd, std::size_t expected_size)>& consume) {
  const bool regular_only = source == Source::RegularFileOnly;
  struct stat info {};
  if (regular_only) {
    // Judged before opening: opening a pipe with no writer waits for one.
    if (::stat(path.c_str(), &info) != 0) return CannotOpen(errno);
    if (!S_ISREG(info.st_mode)) return NotRegular();
  }
  // Not blocking either if something else took the file's place meanwhile.
  const Descriptor file(
      ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (regular_only ? O_NONBLOCK : 0)));
  if (file.get() < 0) return CannotOpen(errno);
  if (::fstat(file.get(), &info) != 0) return CannotOpen(errno);
  const bool regular = S_ISREG(info.st_mode);
  if (regular_only && !regular) return NotRegular();
  std::size_t expected_size = 0;
  if (regular) {
    const auto size = static_cast<unsigned long long>(info.st_size);
    // Too large is known without reading a byte (a huge sparse file too).
    if (size > kSheetFileMaxBytes) return RefuseTooLarge();
    expected_size = static_cast<std::size_t>(size);
  }
  return consume(file.get(), expected_size);
}

}  // namespace

SheetFileResult ReadSheetFileAt(const std::string& path, Source source) {
  return OpenAndRead(path, source, ReadOpened);
}

SheetFileResult ReadSheetFileFrom(int fd) { return ReadOpened(fd, 0); }

SheetFileResult ReadFileBytesAt(const std::string& path, Source source, std::string& bytes) {
  return OpenAndRead(path, source, [&bytes](int fd, std::size_t expected_size) {
    return ReadBytesWithin(ReaderOf(fd), expected_size, bytes);
  });
}

SheetFileResult ReadFileBytesFrom(int fd, std::string& bytes) {
  return ReadBytesWithin(ReaderOf(fd), 0, bytes);
}

}  // namespace orcalc::files
