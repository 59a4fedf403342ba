#include "parallel/thread_pool.h"

#include <algorithm>
#include <memory>
#include <system_error>

namespace orcalc {
namespace {

// A few tens of microseconds of waiting before a worker goes to sleep:
// longer than the gap between two pivots of a large tableau, short enough
// not to hold a core that others need.
constexpr int kSpinsBeforeSleep = 2000;
// Chunks per thread: small enough that a late thread's share is soon taken
// over and the last chunk keeps the others waiting little (with 4, the
// threads of a 500 x 1000 simplex pivot stood idle a third longer), large
// enough that taking one costs little.
constexpr std::size_t kChunksPerThread = 8;

inline void Relax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#else
  std::this_thread::yield();
#endif
}

constexpr std::uint64_t kChunkMask = 0xffffffffu;

}  // namespace

ThreadPool::ThreadPool(int threads) : shares_(static_cast<std::size_t>(std::max(threads, 1))) {
  workers_.reserve(shares_.size());
  for (int part = 1; part < threads; ++part) {
    try {
      workers_.emplace_back([this, part] { Work(part); });
    } catch (const std::system_error&) {
      break;  // no more threads to be had: a smaller pool
    }
  }
}

ThreadPool::~ThreadPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_.store(true, std::memory_order_relaxed);
    job_in_force_.store(job_ + 1, std::memory_order_release);
  }
  wake_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void ThreadPool::Dispatch(std::size_t count, std::size_t smallest_chunk, Body body, void* context,
                          Task beside, void* beside_context) {
  const std::size_t chunk =
      std::max(std::max<std::size_t>(smallest_chunk, 1),
               (count + static_cast<std::size_t>(threads()) * kChunksPerThread - 1) /
                   (static_cast<std::size_t>(threads()) * kChunksPerThread));
  std::unique_lock<std::mutex> busy(busy_, std::try_to_lock);
  if (workers_.empty() || !busy.owns_lock() || count <= chunk) {
    if (beside != nullptr) beside(beside_context);
    body(context, 0, count);
    return;
  }
  // As many chunks as chunks of that length would make, cut evenly.
  const std::size_t chunks = (count + chunk - 1) / chunk;
  // A worker may still be looking through the last job's shares. Every
  // share is closed first, so that no claim on the last job's tickets can
  // succeed once this job's values (stored with release, read with
  // acquire) are there to be read with it.
  for (Share& share : shares_) {
    share.ticket.store((job_ << 32) | kChunkMask, std::memory_order_relaxed);
  }
  const std::uint64_t job = ++job_;
  body_.store(body, std::memory_order_release);
  context_.store(context, std::memory_order_release);
  count_.store(count, std::memory_order_release);
  chunks_.store(chunks, std::memory_order_release);
  done_.store(0, std::memory_order_relaxed);
  for (int part = 0; part < threads(); ++part) {
    shares_[static_cast<std::size_t>(part)].ticket.store((job << 32) | ShareStart(part, chunks),
                                                         std::memory_order_relaxed);
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    job_in_force_.store(job, std::memory_order_release);
  }
  wake_.notify_all();
  if (beside != nullptr) beside(beside_context);
  TakeChunks(job, 0);
  for (int spin = 0; done_.load(std::memory_order_acquire) != chunks; ++spin) {
    if (spin < kSpinsBeforeSleep) {
      Relax();
    } else {
      std::this_thread::yield();
    }
  }
}

void ThreadPool::TakeChunks(std::uint64_t job, int home) {
  const int parts = threads();
  for (int k = 0; k < parts; ++k) {
    const int part = (home + k) % parts;
    Share& share = shares_[static_cast<std::size_t>(part)];
    std::uint64_t ticket = share.ticket.load(std::memory_order_acquire);
    for (;;) {
      // A later job: this one is finished.
      if ((ticket >> 32) != job) return;
      // Read after the ticket: this job's values, or, if any is a later
      // job's, the share was closed before it was written and the
      // exchange below fails.
      const std::size_t chunks = chunks_.load(std::memory_order_acquire);
      const std::size_t count = count_.load(std::memory_order_acquire);
      const Body body = body_.load(std::memory_order_acquire);
      void* const context = context_.load(std::memory_order_acquire);
      const std::size_t next = static_cast<std::size_t>(ticket & kChunkMask);
      if (next >= ShareStart(part + 1, chunks)) break;  // this share is done
      if (!share.ticket.compare_exchange_weak(ticket, ticket + 1, std::memory_order_acq_rel,
                                              std::memory_order_acquire)) {
        continue;
      }
      body(context, count * next / chunks, count * (next + 1) / chunks);
      done_.fetch_add(1, std::memory_order_release);
      ticket = share.ticket.load(std::memory_order_acquire);
    }
  }
}

void ThreadPool::Work(int home) {
  std::uint64_t seen = 0;  // the last job this worker looked at
  for (;;) {
    std::uint64_t job = job_in_force_.load(std::memory_order_acquire);
    for (int spin = 0; job == seen && spin < kSpinsBeforeSleep; ++spin) {
      Relax();
      job = job_in_force_.load(std::memory_order_acquire);
    }
    if (job == seen) {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return job_in_force_.load(std::memory_order_acquire) != seen; });
      job = job_in_force_.load(std::memory_order_acquire);
    }
    if (stopping_.load(std::memory_order_relaxed)) return;
    seen = job;
    TakeChunks(job, home);
  }
}

namespace {

std::mutex pool_mutex;
std::unique_ptr<ThreadPool> pool;
int chosen_threads = 0;

int AllCores() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(cores);
}

}  // namespace

ThreadPool& PivotPool() {
  std::lock_guard<std::mutex> lock(pool_mutex);
  if (!pool) pool = std::make_unique<ThreadPool>(chosen_threads > 0 ? chosen_threads : AllCores());
  return *pool;
}

void SetPivotThreads(int threads) {
  std::lock_guard<std::mutex> lock(pool_mutex);
  chosen_threads = threads > 0 ? threads : 0;
  pool.reset();
}

int PivotThreads() {
  std::lock_guard<std::mutex> lock(pool_mutex);
  if (pool) return pool->threads();
  return chosen_threads > 0 ? chosen_threads : AllCores();
}

}  // namespace orcalc
