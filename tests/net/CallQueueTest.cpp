#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "net/CallQueue.h"
#include "net/support/WaitUntil.h"

namespace net {
namespace {

using tarvic::test::WaitUntil;

TEST(CallQueue, RunsTheCallsInTheirOrderOnAThreadOfItsOwn)
{
    std::mutex mutex;
    std::string ran;
    std::thread::id where;
    CallQueue queue;
    for (const char c : std::string("abcdef"))
        queue.Post([&, c] {
            const std::lock_guard lock(mutex);
            ran += c;
            where = std::this_thread::get_id();
        });
    ASSERT_TRUE(WaitUntil([&] {
        const std::lock_guard lock(mutex);
        return ran.size() == 6;
    }));
    const std::lock_guard lock(mutex);
    EXPECT_EQ(ran, "abcdef");
    EXPECT_NE(where, std::this_thread::get_id());
}

TEST(CallQueue, StopReturnsOnceTheCallRunningHasReturned)
{
    std::atomic<bool> started{false}, release{false};
    std::atomic<int> finished{0};
    CallQueue queue;
    queue.Post([&] {
        started = true;
        while (!release) std::this_thread::yield();
        ++finished;
    });
    ASSERT_TRUE(WaitUntil([&] { return started.load(); }));
    std::thread stopper([&] {
        queue.Stop();
        EXPECT_EQ(finished, 1);
    });
    release = true;
    stopper.join();
}

}  // namespace
}  // namespace net
