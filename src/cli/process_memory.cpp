#include "cli/process_memory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ORCALC_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#define ORCALC_OWN_ALLOCATOR 1
#endif
#endif

namespace orcalc::cli {
namespace {

// The largest block still taken from the heap (glibc's upper bound for the
// setting); larger ones, such as a goal report of a hundred megabytes, are
// mapped on their own as before.
constexpr int kLargestHeapBlock = 32 * 1024 * 1024;
// How far the heap grows at once: a 500 × 500 linear program needs about
// 20 MB at its peak.
constexpr int kHeapGrowth = 64 * 1024 * 1024;
// Freed memory at the top of the heap is given back only beyond this.
constexpr int kKeptFreeMemory = 256 * 1024 * 1024;

}  // namespace

void SetUpHeapForOneRun() {
#ifndef ORCALC_OWN_ALLOCATOR
  if (mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock) == 0 ||
      mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory) == 0 || mallopt(M_TOP_PAD, kHeapGrowth) == 0) {
    return;
  }
  // One allocation beyond what the heap holds makes it grow by kHeapGrowth
  // now; the new part is what the run's blocks will use. (Volatile: the
  // compiler may not drop the allocation as unused.)
  const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
  void* volatile block = std::malloc(1024 * 1024);
  std::free(block);
  const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const std::uintptr_t start = (before + page - 1) / page * page;
  // Only advice: where the kernel has no large pages, it keeps small ones.
  if (after > start) madvise(reinterpret_cast<void*>(start), after - start, MADV_HUGEPAGE);
#endif
}

}  // namespace orcalc::cli
