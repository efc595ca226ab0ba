#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowFixture.h"
#include "support/CardsimProcess.h"

namespace banc::test {

// The water level bench in a window, on the simulated card of a port whose
// traffic the test reads.
class LoggedCardWindow : public ::testing::Test {
protected:
    explicit LoggedCardWindow(const char* mode);
    // Opens the window on the card and waits until the card answers.
    void SetUp() override;

    // The orders the card received, '!' lines, without the requests of the watch.
    std::vector<std::string> Orders() const;
    // The requests received so far.
    int Requests() const;
    // Lets the watch go round a few more times, so that whatever was to be sent has been.
    void LetTheWatchTurn() const;

    WindowFixture m_fixture;
    tarvic::test::CardsimProcess m_card;

private:
    const char* m_mode;
};

}  // namespace banc::test
