// A small pool of threads that stay alive between jobs, for splitting one
// pivot (or another pass over a large problem) over the processor's cores.
// A job is a range (of rows, or of blocks of columns) cut evenly into
// chunks, and each thread has a share of them: the same part of the tableau
// pivot after pivot, so that it stays in its core's cache. A thread that
// has done its share takes the chunks left in the others', so a worker the
// system has not scheduled yet delays nothing. A job is handed out by
// bumping a counter the idle workers watch (briefly spinning, then
// sleeping), so a pivot costs no thread creation.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <new>
#include <thread>
#include <type_traits>
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

  int threads() const { return static_cast<int>(workers_.size()) + 1; }

  // Calls body(begin, end) for consecutive chunks covering [0, count), each
  // chunk once, on the calling thread and the workers; returns when all are
  // done. The range is cut evenly into as many chunks as chunks of
  // `smallest_chunk` (or more, for a few chunks per thread) would make.
  // While another thread runs a job on the same pool, the caller does the
  // whole range itself.
  template <typename Body>
  void ForEachChunk(std::size_t count, Body&& body, std::size_t smallest_chunk = 4) {
    Dispatch(count, smallest_chunk, CallChunk<Body>, &body, nullptr, nullptr);
  }

  // The same, with work of the calling thread's own that needs none of the
  // chunks: it runs `beside()` while the workers start on the chunks (and
  // take over its share if it takes long), then joins them.
  template <typename Body, typename Beside>
  void ForEachChunkBeside(std::size_t count, Body&& body, Beside&& beside,
                          std::size_t smallest_chunk = 4) {
    auto call_beside = [](void* context) {
      (*static_cast<std::remove_reference_t<Beside>*>(context))();
    };
    Dispatch(count, smallest_chunk, CallChunk<Body>, &body, call_beside, &beside);
  }

  // The parts ForEachPart cuts a range into: a few per thread.
  std::size_t parts() const { return static_cast<std::size_t>(threads()) * 4; }

  // Calls body(part, begin, end) for each of parts() parts of [0, count),
  // cut evenly, on the calling thread and the workers, each into storage of
  // its own that the caller joins in order afterwards. Running out of
  // memory in any part is thrown again on the calling thread once every
  // part is done.
  template <typename PartBody>
  void ForEachPart(std::size_t count, PartBody&& body) {
    const std::size_t all = parts();
    std::atomic<bool> out_of_memory{false};
    ForEachChunk(
        all,
        [&](std::size_t first, std::size_t last) {
          try {
            for (std::size_t part = first; part < last; ++part) {
              body(part, count * part / all, count * (part + 1) / all);
            }
          } catch (const std::bad_alloc&) {
            out_of_memory.store(true, std::memory_order_relaxed);
          }
        },
        1);
    if (out_of_memory.load(std::memory_order_relaxed)) throw std::bad_alloc();
  }

 private:
  using Body = void (*)(void* context, std::size_t begin, std::size_t end);
  using Task = void (*)(void* context);
  template <typename Callable>
  static void CallChunk(void* context, std::size_t begin, std::size_t end) {
    (*static_cast<std::remove_reference_t<Callable>*>(context))(begin, end);
  }
  void Dispatch(std::size_t count, std::size_t smallest_chunk, Body body, void* context,
                Task beside, void* beside_context);
  // Takes and runs chunks of job `job`, from share `home` first, while
  // there are any.
  void TakeChunks(std::uint64_t job, int home);
  void Work(int home);
  // The first chunk of share `part`.
  std::size_t ShareStart(int part, std::size_t chunks) const {
    return chunks * static_cast<std::size_t>(part) / static_cast<std::size_t>(threads());
  }

  // One share's next chunk: the job number (high 32 bits) and the chunk
  // (low 32 bits), on a cache line of its own.
  struct alignas(64) Share {
    std::atomic<std::uint64_t> ticket{0};
  };

  std::vector<std::thread> workers_;
  std::mutex busy_;  // held by the thread running a job
  std::mutex mutex_;
  std::condition_variable wake_;
  std::atomic<bool> stopping_{false};
  std::vector<Share> shares_;  // one per thread, sized before the workers start
  // The number of the job in force; bumped after its shares are set.
  std::atomic<std::uint64_t> job_in_force_{0};
  std::uint64_t job_ = 0;  // the caller's count of jobs
  // The current job; written before its ticket is published.
  std::atomic<Body> body_{nullptr};
  std::atomic<void*> context_{nullptr};
  std::atomic<std::size_t> count_{0};
  std::atomic<std::size_t> chunks_{0};
  std::atomic<std::size_t> done_{0};  // chunks finished
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
