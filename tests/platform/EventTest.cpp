#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tarvic/platform/Clock.h"
#include "tarvic/platform/Event.h"

TEST(Event, ManualResetStaysSignalledUntilReset)
{
    CEvent event;
    EXPECT_FALSE(event.Wait(0));
    event.SetEvent();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_TRUE(event.Wait(0));
    event.ResetEvent();
    EXPECT_FALSE(event.Wait(10));
}

TEST(Event, WaitForMultipleReturnsTheFirstSignalledInListOrder)
{
    CEvent a, b, c;
    b.SetEvent();
    c.SetEvent();
    EXPECT_EQ(CEvent::WaitForMultiple({&a, &b, &c}, 0), 1);
    a.SetEvent();
    EXPECT_EQ(CEvent::WaitForMultiple({&a, &b, &c}, 0), 0);
    a.ResetEvent();
    b.ResetEvent();
    c.ResetEvent();
    EXPECT_EQ(CEvent::WaitForMultiple({&a, &b, &c}, 20), CEvent::kTimeout);
}

TEST(Event, AWaiterIsReleasedBySetFromAnotherThread)
{
    CEvent a, b;
    std::thread setter([&] {
        tarvic::Sleep(20);
        b.SetEvent();
    });
    EXPECT_EQ(CEvent::WaitForMultiple({&a, &b}), 1);
    setter.join();
}

TEST(Event, OneSetReleasesEveryWaiter)
{
    CEvent event;
    std::vector<int> results(3, CEvent::kTimeout);
    std::vector<std::thread> waiters;
    for (int& result : results) waiters.emplace_back([&event, &result] { result = CEvent::WaitForMultiple({&event}); });
    event.SetEvent();
    for (std::thread& waiter : waiters) waiter.join();
    EXPECT_EQ(results, (std::vector<int>{0, 0, 0}));
}

// The waiter goes as soon as the first set releases it, while the second set
// may still be on its way to it: the sanitized build sees any touch of it.
TEST(Event, AWaiterGoneAfterTheFirstOfTwoSetsIsNotTouchedByTheOther)
{
    int released = 0;
    for (int round = 0; round < 200; ++round) {
        CEvent a, b;
        std::thread setA([&a] { a.SetEvent(); });
        std::thread setB([&b] { b.SetEvent(); });
        const int index = CEvent::WaitForMultiple({&a, &b});
        if (index == 0 || index == 1) ++released;
        setA.join();
        setB.join();
    }
    EXPECT_EQ(released, 200);
}

TEST(Event, ASetEventSetAgainStaysSignalledUntilOneReset)
{
    CEvent event;
    event.SetEvent();
    event.SetEvent();
    EXPECT_EQ(CEvent::WaitForMultiple({&event}, 0), 0);
    event.ResetEvent();
    EXPECT_EQ(CEvent::WaitForMultiple({&event}, 0), CEvent::kTimeout);
}
