// The bases a simplex method has passed through since a point, to notice a
// return to one of them (cycling).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orcalc {

// A basis is a set of members numbered 0..size-1 (the caller decides what a
// member stands for). It is held as a bit set with an incrementally kept
// hash; a matching hash is confirmed by comparing the stored sets, so a
// repeat is never mistaken. Storage only grows: once warmed up, nothing
// allocates.
class BasisHistory {
 public:
  explicit BasisHistory(int size);

  // The current basis becomes exactly `members`.
  void SetCurrent(std::span<const int> members);
  // In the current basis, `leaving` gives way to `entering`.
  void Exchange(int leaving, int entering);

  // Forgets every basis and remembers the current one.
  void Restart();
  // Remembers the current basis; false when it had been seen since the
  // last Restart.
  bool Insert();

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::size_t index = 0;
    std::uint64_t generation = 0;
  };

  void Toggle(int member);
  void Store(Slot& slot);
  void Grow();

  std::size_t words_;
  std::vector<std::uint64_t> current_;
  std::uint64_t hash_ = 0;
  std::vector<std::uint64_t> bits_;  // count_ bases, words_ each
  std::vector<Slot> slots_;
  std::size_t count_ = 0;
  std::uint64_t generation_ = 1;  // slots of other generations are free
};

}  // namespace orcalc
