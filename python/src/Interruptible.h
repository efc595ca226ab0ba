#pragma once

#include <functional>

namespace banc::python {

// Runs `work` on a thread of its own with the GIL released, and meanwhile,
// on the caller's thread, looks at Python's signals and calls `tick` every
// 50 ms. A Python exception there (Ctrl-C's KeyboardInterrupt, an error of
// `tick`) calls `stop`, waits for the work to end, and is raised then; a
// second Ctrl-C meanwhile calls `stop` again. `tick` is called once more at
// the end of a work that was not stopped. Called holding the GIL.
void RunInterruptibly(const std::function<void()>& work, const std::function<void()>& stop,
                      const std::function<void()>& tick);

}  // namespace banc::python
