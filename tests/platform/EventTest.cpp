#include <gtest/gtest.h>

#include <thread>

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
