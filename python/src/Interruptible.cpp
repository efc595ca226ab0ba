#include "Interruptible.h"

#include <pybind11/pybind11.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace py = pybind11;

namespace banc::python {
namespace {

// Ctrl-C is seen within this; the work's own turns are not slowed by it.
constexpr std::chrono::milliseconds kLook{50};

}  // namespace

void RunInterruptibly(const std::function<void()>& work, const std::function<void()>& stop,
                      const std::function<void()>& tick)
{
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::exception_ptr failure;
    std::thread worker;
    {
        py::gil_scoped_release release;
        worker = std::thread([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            {
                std::lock_guard lock(mutex);
                done = true;
            }
            ended.notify_all();
        });
    }
    std::optional<py::error_already_set> raised;
    while (true) {
        bool finished = false;
        {
            py::gil_scoped_release release;
            std::unique_lock lock(mutex);
            finished = ended.wait_for(lock, kLook, [&] { return done; });
        }
        if (finished) break;
        try {
            if (PyErr_CheckSignals() != 0) throw py::error_already_set();
            if (!raised) tick();
        } catch (py::error_already_set& error) {
            // The first is the one raised; a later one only hurries the stop.
            if (!raised) raised.emplace(std::move(error));
            stop();
        }
    }
    {
        py::gil_scoped_release release;
        worker.join();
    }
    if (raised) throw std::move(*raised);
    if (failure) std::rethrow_exception(failure);
    // The end as the work left it, which the last look may have missed.
    tick();
}

}  // namespace banc::python
