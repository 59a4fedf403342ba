#include "common/thread_pool.h"

#include <memory>
#include <system_error>

namespace orcalc {
namespace {

// About 20-50 microseconds of waiting before a worker goes to sleep: longer
// than the gap between two pivots of a large tableau, short enough not to
// hold a core that others need.
constexpr int kSpinsBeforeSleep = 4000;

inline void Relax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#else
  std::this_thread::yield();
#endif
}

}  // namespace

ThreadPool::ThreadPool(int threads) {
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
    stopping_ = true;
    generation_.fetch_add(1, std::memory_order_release);
  }
  wake_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void ThreadPool::Dispatch(Body body, void* context) {
  const int parts = threads();
  std::unique_lock<std::mutex> busy(busy_, std::try_to_lock);
  if (parts == 1 || !busy.owns_lock()) {
    for (int part = 0; part < parts; ++part) body(context, part, parts);
    return;
  }
  pending_.store(parts - 1, std::memory_order_relaxed);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    body_ = body;
    context_ = context;
    parts_ = parts;
    generation_.fetch_add(1, std::memory_order_release);
  }
  wake_.notify_all();
  body(context, 0, parts);
  for (int spin = 0; pending_.load(std::memory_order_acquire) != 0; ++spin) {
    if (spin < kSpinsBeforeSleep) {
      Relax();
    } else {
      std::this_thread::yield();
    }
  }
}

void ThreadPool::Work(int part) {
  unsigned long seen = 0;
  for (;;) {
    unsigned long now = generation_.load(std::memory_order_acquire);
    for (int spin = 0; now == seen && spin < kSpinsBeforeSleep; ++spin) {
      Relax();
      now = generation_.load(std::memory_order_acquire);
    }
    Body body;
    void* context;
    int parts;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return generation_.load(std::memory_order_acquire) != seen; });
      seen = generation_.load(std::memory_order_acquire);
      if (stopping_) return;
      body = body_;
      context = context_;
      parts = parts_;
    }
    body(context, part, parts);
    pending_.fetch_sub(1, std::memory_order_release);
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
