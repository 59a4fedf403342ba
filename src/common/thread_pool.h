// A small pool of threads that stay alive between jobs, for splitting one
// pivot's rows over the processor's cores. A job is handed out by bumping a
// counter the idle workers watch (briefly spinning, then sleeping), so a
// pivot costs no thread creation and, back to back, no system call.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace orcalc {

class ThreadPool {
 public:
  // `threads` counts the calling thread: a pool of 1 runs everything on the
  // caller. Threads that cannot be started leave a smaller pool.
  explicit ThreadPool(int threads);
  ~ThreadPool();
  ThreadPool(const ThreadPool&) = delete;
  ThreadPool& operator=(const ThreadPool&) = delete;

  // The number of parts a job is split into.
  int threads() const { return static_cast<int>(workers_.size()) + 1; }

  // Calls body(part, parts) once for every part 0..parts-1, part 0 on the
  // calling thread, the others on the workers; returns when all are done.
  // While another thread runs a job on the same pool, runs every part on
  // the caller instead.
  template <typename Body>
  void Run(Body&& body) {
    auto call = [](void* context, int part, int parts) {
      (*static_cast<std::remove_reference_t<Body>*>(context))(part, parts);
    };
    Dispatch(call, &body);
  }

  // The rows [begin, end) of `count` that part `part` of `parts` takes.
  static std::pair<std::size_t, std::size_t> Share(std::size_t count, int part, int parts) {
    const std::size_t p = static_cast<std::size_t>(part);
    const std::size_t n = static_cast<std::size_t>(parts);
    return {count * p / n, count * (p + 1) / n};
  }

 private:
  using Body = void (*)(void* context, int part, int parts);
  void Dispatch(Body body, void* context);
  void Work(int part);

  std::vector<std::thread> workers_;
  std::mutex busy_;  // held by the thread running a job
  std::mutex mutex_;
  std::condition_variable wake_;
  std::atomic<unsigned long> generation_{0};
  std::atomic<int> pending_{0};
  bool stopping_ = false;
  Body body_ = nullptr;
  void* context_ = nullptr;
  int parts_ = 1;
};

// The pool the solvers' pivots use, created on first use. Its size is all
// the processor's cores unless SetPivotThreads chose another.
ThreadPool& PivotPool();
// Chooses the size of the pivot pool (0: all cores). Call it only while no
// calculation runs.
void SetPivotThreads(int threads);
// The size the pivot pool has or will have.
int PivotThreads();

}  // namespace orcalc
