// Storage that starts on a cache line, for arrays whose parts different
// threads write: split at multiples of a line, no two threads share one.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace orcalc {

inline constexpr std::size_t kCacheLine = 64;

template <typename T>
struct CacheAlignedAllocator {
  using value_type = T;

  CacheAlignedAllocator() = default;
  template <typename U>
  CacheAlignedAllocator(const CacheAlignedAllocator<U>&) {}

  T* allocate(std::size_t n) {
    return static_cast<T*>(::operator new(n * sizeof(T), std::align_val_t(kCacheLine)));
  }
  void deallocate(T* p, std::size_t) { ::operator delete(p, std::align_val_t(kCacheLine)); }

  template <typename U>
  bool operator==(const CacheAlignedAllocator<U>&) const {
    return true;
  }
};

template <typename T>
using CacheAlignedVector = std::vector<T, CacheAlignedAllocator<T>>;

}  // namespace orcalc
