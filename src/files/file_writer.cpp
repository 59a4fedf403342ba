#include "files/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

namespace orcalc::files {
namespace {

struct FreeDeleter {
  void operator()(char* p) const { std::free(p); }
};

// Where the bytes go: what a symbolic link names (rename would otherwise
// replace the link itself), the path as given when it names nothing yet.
std::string ResolvedTarget(const std::string& path) {
  const std::unique_ptr<char, FreeDeleter> real(::realpath(path.c_str(), nullptr));
  return real ? std::string(real.get()) : path;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The process's umask, read without changing it where the system says it.
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) {
      return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

long SystemWrite(int fd, const char* data, std::size_t size) {
  return static_cast<long>(::write(fd, data, size));
}

// The temporary file beside the target, removed unless it was put in place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& folder) : path_(folder + "/.orcalc-XXXXXX") {
    fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!placed_) ::unlink(path_.c_str());
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  // Closes the descriptor; false (errno set) when the system reports a
  // failure, which may be the first sign of a full disk.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }
  void placed() { placed_ = true; }

 private:
  std::string path_;
  int fd_ = -1;
  bool placed_ = false;
};

// Writes all of `bytes`, again after an interruption or a short write.
bool WriteAll(int fd, std::string_view bytes, const WriteCall& write, int& error_number) {
  while (!bytes.empty()) {
    errno = 0;
    const long done = write(fd, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      error_number = done < 0 ? errno : 0;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
  return true;
}

WriteOutcome Failed(WriteStep step, int error_number) { return {step, error_number}; }

// The new file's permission bits and owner: the old file's when it is
// replaced, the usual ones for a new file.
void SetModeAndOwner(int fd, const struct stat* old) {
  if (old == nullptr) {
    ::fchmod(fd, static_cast<mode_t>(0666 & ~CurrentUmask()));
    return;
  }
  if (::geteuid() == 0) {
    // The superuser keeps the owner of what it replaces. Nothing to do when
    // the system refuses: the file is still written.
    [[maybe_unused]] const int ignored = ::fchown(fd, old->st_uid, old->st_gid);
  }
  ::fchmod(fd, old->st_mode & 07777);
}

// The content into the open temporary file, then onto the disk.
WriteOutcome FillTemporary(TemporaryFile& temporary, const Producer& produce,
                           const WriteCall& write) {
  WriteOutcome failure;
  const ByteSink sink = [&](std::string_view piece) {
    if (!failure.ok()) return false;
    int error_number = 0;
    if (WriteAll(temporary.fd(), piece, write ? write : WriteCall(SystemWrite), error_number)) {
      return true;
    }
    failure = Failed(WriteStep::Write, error_number);
    return false;
  };
  const bool produced = produce(sink);
  if (!failure.ok()) return failure;
  if (!produced) return Failed(WriteStep::Produce, 0);
  if (::fsync(temporary.fd()) != 0 && errno != EINVAL) return Failed(WriteStep::Flush, errno);
  if (!temporary.close()) return Failed(WriteStep::Close, errno);
  return {};
}

}  // namespace

WriteOutcome CheckWriteTarget(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};  // nothing there yet
  if (!S_ISREG(info.st_mode)) return Failed(WriteStep::NotRegular, 0);
  // By the permission bits, not by whether this user may write: the
  // superuser may write anything.
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Failed(WriteStep::ReadOnly, 0);
  if (::access(path.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS)) {
    return Failed(WriteStep::ReadOnly, errno);
  }
  return {};
}

WriteOutcome WriteFileAtomically(const std::string& path, const Producer& produce,
                                 const WriteCall& write) {
  const WriteOutcome check = CheckWriteTarget(path);
  if (!check.ok()) return check;
  const std::string target = ResolvedTarget(path);
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;

  TemporaryFile temporary(FolderOf(target));
  if (temporary.fd() < 0) return Failed(WriteStep::Create, errno);
  SetModeAndOwner(temporary.fd(), replacing ? &old : nullptr);
  const WriteOutcome filled = FillTemporary(temporary, produce, write);
  if (!filled.ok()) return filled;
  if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
    return Failed(WriteStep::Replace, errno);
  }
  temporary.placed();
  // The new name on the disk too; a folder that cannot say so loses nothing.
  const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return {};
}

WriteOutcome WriteFileAtomically(const std::string& path, std::string_view bytes,
                                 const WriteCall& write) {
  return WriteFileAtomically(
      path, [bytes](const ByteSink& sink) { return sink(bytes); }, write);
}

std::string DescribeWriteFailure(const WriteOutcome& outcome) {
  const auto with_reason = [&](const char* step) {
    std::string text = step;
    if (outcome.error_number != 0) text += std::string(": ") + std::strerror(outcome.error_number);
    return text;
  };
  switch (outcome.step) {
    case WriteStep::None:
      return {};
    case WriteStep::NotRegular:
      return "it is not a regular file";
    case WriteStep::ReadOnly:
      return "the file is read-only";
    case WriteStep::Create:
      return with_reason("cannot create a temporary file beside it");
    case WriteStep::Produce:
      return "the content could not be made (out of memory)";
    case WriteStep::Write:
      return with_reason("error while writing");
    case WriteStep::Flush:
      return with_reason("error while putting the file on the disk");
    case WriteStep::Close:
      return with_reason("error while closing the file");
    case WriteStep::Replace:
      return with_reason("cannot put the new file in place");
  }
  return {};
}

}  // namespace orcalc::files
