#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "tarvic/platform/MessageBox.h"
#include "tarvic/platform/Trace.h"

namespace tarvic::test {

// Collects every trace text for the lifetime of the object.
class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::string Text() const;
    std::vector<std::string> Texts() const;
    int Count(const std::string& text) const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_texts;
    TraceSink m_previous;
};

// Collects message boxes instead of showing them.
class MessageBoxCapture {
public:
    struct Shown {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    std::vector<Shown> Boxes() const;

private:
    mutable std::mutex m_mutex;
    std::vector<Shown> m_boxes;
    MessageBoxHandler m_previous;
};

}  // namespace tarvic::test
