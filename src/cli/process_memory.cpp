#include "cli/process_memory.h"

#include <cstdint>
#include <cstdlib>

// The heap is tuned where it is glibc's, and not under the sanitizers,
// which bring their own allocator.
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define ORCALC_TUNED_HEAP 1
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#undef ORCALC_TUNED_HEAP
#endif
#endif
#endif

#ifdef ORCALC_TUNED_HEAP
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace orcalc::cli {

#ifndef ORCALC_TUNED_HEAP

void SetUpHeapForOneRun() {}

#else

namespace {

// The largest block still taken from the heap (glibc's upper bound for the
// setting); larger ones, such as a goal report of a hundred megabytes, are
// mapped on their own as before.
constexpr int kLargestHeapBlock = 32 * 1024 * 1024;
// How far the heap grows at once: a 500 × 500 linear program needs about
// 20 MB at its peak. Beyond it the heap grows in small pages as usual.
constexpr std::size_t kHeapGrowth = std::size_t{64} * 1024 * 1024;
// Freed memory at the top of the heap is given back only beyond this.
constexpr int kKeptFreeMemory = 256 * 1024 * 1024;
// glibc's default number of separately mapped blocks.
constexpr int kDefaultMappedBlocks = 65536;
// A transparent huge page on x86-64, and a small page.
constexpr std::uintptr_t kLargePage = std::uintptr_t{2} * 1024 * 1024;
constexpr std::uintptr_t kSmallPage = 4096;

std::uintptr_t ProgramBreak() { return reinterpret_cast<std::uintptr_t>(sbrk(0)); }

}  // namespace

void SetUpHeapForOneRun() {
  if (mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock) == 0 ||
      mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory) == 0) {
    return;
  }
  // The pool's threads allocate from this heap too (parts of a report, for
  // one), not from arenas of their own on fresh pages.
  mallopt(M_ARENA_MAX, 1);
  // A large page is only used where none of its small pages has been
  // touched yet, and the advice can only be given once the heap has grown.
  // So the break is first moved to one small page below a large page's
  // boundary (malloc leaves such a gap unused, as after anyone's sbrk);
  // the heap then grows by one block of kHeapGrowth, whose header lies in
  // that small page and whose end mark in the last large page; everything
  // between is still untouched when the advice is given, and freeing the
  // block leaves it all to the run's blocks.
  const std::uintptr_t boundary =
      (ProgramBreak() + kSmallPage + kLargePage - 1) / kLargePage * kLargePage;
  const std::uintptr_t gap = boundary - kSmallPage - ProgramBreak();
  // NOLINTNEXTLINE(performance-no-int-to-ptr): sbrk's failure value is the address -1
  if (sbrk(static_cast<std::intptr_t>(gap)) == reinterpret_cast<void*>(-1)) return;
  mallopt(M_MMAP_MAX, 0);                           // this block from the heap, whatever its size
  void* volatile block = std::malloc(kHeapGrowth);  // volatile: kept by the compiler
  mallopt(M_MMAP_MAX, kDefaultMappedBlocks);
  std::free(block);
  // Only advice: where the kernel has no large pages, it keeps small ones.
  const std::uintptr_t end = ProgramBreak();
  if (block && end > boundary) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): an address computed from the break
    madvise(reinterpret_cast<void*>(boundary), end - boundary, MADV_HUGEPAGE);
  }
}

#endif

}  // namespace orcalc::cli
