// The one way the program writes a file: refused when the target is not a
// regular file or is read-only, otherwise written to a temporary file
// beside it that replaces it only once every byte is on the disk.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace orcalc::files {

// The step at which writing a file failed.
enum class WriteStep {
  None,        // written
  NotRegular,  // the target exists and is a folder, device, pipe or socket
  ReadOnly,    // the target's permission bits let no one write it
  Create,      // the temporary file could not be made beside the target
  Produce,     // the content could not be made (the producer gave up)
  Write,       // writing the content
  Flush,       // putting it on the disk
  Close,       // closing the temporary file
  Replace,     // putting the temporary file in the target's place
};

struct WriteOutcome {
  WriteStep step = WriteStep::None;
  // errno of the failed step; 0 when the system gave no reason (and for the
  // refusals and a producer that gave up).
  int error_number = 0;
  bool ok() const { return step == WriteStep::None; }
};

// Takes the next bytes of the file; false when they could not be written
// (the producer should then stop).
using ByteSink = std::function<bool(std::string_view)>;
// Hands the whole content to the sink, piece by piece; false when it could
// not make it (then nothing is written).
using Producer = std::function<bool(const ByteSink&)>;

// Writes `size` bytes to the open descriptor `fd` as write(2) does: how many
// were written, or -1 with errno set. Tests stand in for a full disk.
using WriteCall = std::function<long(int fd, const char* data, std::size_t size)>;

// Whether `path` may be written: NotRegular or ReadOnly when it exists and
// must not be replaced, None otherwise (also when it does not exist). A
// symbolic link is judged by what it names.
WriteOutcome CheckWriteTarget(const std::string& path);

// Creates or replaces `path` (what it names, for a symbolic link) with what
// `produce` hands out. A failure at any step leaves an existing file as it
// was and removes the temporary file. A replaced file keeps its permission
// bits (and, for the superuser, its owner); a new one gets the usual ones
// under the process's umask. `write`, when set, replaces write(2).
WriteOutcome WriteFileAtomically(const std::string& path, const Producer& produce,
                                 const WriteCall& write = {});
WriteOutcome WriteFileAtomically(const std::string& path, std::string_view bytes,
                                 const WriteCall& write = {});

// What went wrong, in English, for orcalc-cli: "it is not a regular file",
// "the file is read-only", "cannot write: No space left on device", ...
std::string DescribeWriteFailure(const WriteOutcome& outcome);

}  // namespace orcalc::files
