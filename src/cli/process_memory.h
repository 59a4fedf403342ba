// How orcalc-cli uses memory: one calculation, then the process ends. The
// heap is set up for the few large blocks such a run makes (a sheet's cells,
// the problem, a tableau, a report) instead of for a long-running program.
#pragma once

namespace orcalc::cli {

// Call first in main, before any large allocation. Large blocks come from
// the heap too (not one mapping each), freed memory stays there to be used
// again, every thread allocates from it, and the heap grows in one step
// into a region that the kernel may back with 2 MB pages: a 500 × 500 linear program then takes
// about 120 page faults (the program's loading included) instead of about 4,500. Nothing changes
// under the sanitizers, which bring their own allocator, nor with a C library other than glibc.
void SetUpHeapForOneRun();

}  // namespace orcalc::cli
