#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "net/MqttSettings.h"
#include "net/support/WaitUntil.h"

namespace tarvic::test {

// A mosquitto of the test's own on a free loopback port, with the given
// configuration lines after its listener's, killed in every path (also
// when the test program dies: the broker goes with its parent).
class TestBroker {
public:
    static constexpr char kProgram[] = "/usr/sbin/mosquitto";
    static bool Available();

    explicit TestBroker(std::string configuration = "allow_anonymous true\n");
    ~TestBroker();
    TestBroker(const TestBroker&) = delete;
    TestBroker& operator=(const TestBroker&) = delete;

    // True once the broker accepts connections.
    bool Running() const { return m_pid > 0; }
    int Port() const { return m_port; }
    // A folder for the test's files (passwords, ACL, certificates), removed with the broker.
    const std::filesystem::path& Folder() const { return m_folder; }
    std::string File(const std::string& name) const { return (m_folder / name).string(); }
    // What the broker wrote to its log.
    std::string Log() const;

    // Stops it (as a service stops) and starts it again on the same port.
    void Stop();
    bool Start();
    // A broker that no longer reads, its connections open: a slow one at its worst.
    void Freeze();
    void Thaw();

private:
    std::filesystem::path m_folder;
    std::string m_configuration;
    int m_port = 0;
    pid_t m_pid = -1;
};

// A client's settings for the test broker on `port`, speaking for `poste`.
net::MqttSettings LoopbackSettings(int port, net::Poste poste = {});

}  // namespace tarvic::test

#define TARVIC_REQUIRE_MOSQUITTO()                                                      \
    do {                                                                                \
        if (!tarvic::test::TestBroker::Available())                                     \
            GTEST_SKIP() << "mosquitto absent (" << tarvic::test::TestBroker::kProgram  \
                         << ") : installez le paquet Debian mosquitto pour ces tests."; \
    } while (false)
