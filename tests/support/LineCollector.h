#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "support/PtyPeer.h"
#include "tarvic/serial/ComThread.h"

namespace tarvic::test {

// A port owner that keeps every line its reading thread delivers.
class LineCollector : public CComThread {
public:
    using CComThread::CComThread;
    ~LineCollector() override { ExitInstance(); }

    void TraiteRecept(std::string line) override
    {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(std::move(line));
    }
    std::vector<std::string> Lines() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    std::size_t Count() const { return Lines().size(); }
    bool WaitLines(std::size_t count, std::chrono::milliseconds timeout = std::chrono::milliseconds(10000)) const
    {
        return WaitUntil([&] { return Count() >= count; }, timeout);
    }
    void Send(const std::string& line) { WriteCommBlock(line.data(), static_cast<int>(line.size())); }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

}  // namespace tarvic::test
