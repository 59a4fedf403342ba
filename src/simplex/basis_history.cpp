#include "simplex/basis_history.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace orcalc {
namespace {

std::uint64_t Mix(std::uint64_t x) {  // splitmix64 finaliser
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

}  // namespace

BasisHistory::BasisHistory(int size)
    : words_((static_cast<std::size_t>(std::max(size, 0)) + 63) / 64 + 1), current_(words_, 0) {}

void BasisHistory::SetCurrent(std::span<const int> members) {
  std::fill(current_.begin(), current_.end(), 0);
  hash_ = 0;
  for (int member : members) Toggle(member);
}

void BasisHistory::Exchange(int leaving, int entering) {
  Toggle(leaving);
  Toggle(entering);
}

void BasisHistory::Restart() {
  ++generation_;
  count_ = 0;
  Insert();
}

bool BasisHistory::Insert() {
  if ((count_ + 1) * 2 > slots_.size()) Grow();
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t s = hash_ & mask;; s = (s + 1) & mask) {
    Slot& slot = slots_[s];
    if (slot.generation != generation_) {
      Store(slot);
      return true;
    }
    if (slot.hash == hash_ && std::memcmp(&bits_[slot.index * words_], current_.data(),
                                          words_ * sizeof(std::uint64_t)) == 0) {
      return false;
    }
  }
}

void BasisHistory::Toggle(int member) {
  const auto bit = static_cast<std::size_t>(member);
  current_[bit / 64] ^= std::uint64_t{1} << (bit % 64);
  hash_ ^= Mix(bit);
}

void BasisHistory::Store(Slot& slot) {
  slot.hash = hash_;
  slot.index = count_;
  slot.generation = generation_;
  const std::size_t at = count_ * words_;
  if (bits_.size() < at + words_) bits_.resize(std::max(at + words_, bits_.size() * 2));
  std::memcpy(&bits_[at], current_.data(), words_ * sizeof(std::uint64_t));
  ++count_;
}

void BasisHistory::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.generation != generation_) continue;
    std::size_t s = slot.hash & mask;
    while (slots_[s].generation == generation_) s = (s + 1) & mask;
    slots_[s] = slot;
  }
}

}  // namespace orcalc
