#include "support/TraceCapture.h"

#include <algorithm>

namespace tarvic::test {

TraceCapture::TraceCapture()
    : m_previous(SetTraceSink([this](std::string_view text) {
          std::lock_guard lock(m_mutex);
          m_texts.emplace_back(text);
      }))
{
}

TraceCapture::~TraceCapture() { SetTraceSink(m_previous); }

std::string TraceCapture::Text() const
{
    std::lock_guard lock(m_mutex);
    std::string all;
    for (const auto& text : m_texts) all += text;
    return all;
}

std::vector<std::string> TraceCapture::Texts() const
{
    std::lock_guard lock(m_mutex);
    return m_texts;
}

int TraceCapture::Count(const std::string& text) const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(std::count(m_texts.begin(), m_texts.end(), text));
}

MessageBoxCapture::MessageBoxCapture()
    : m_previous(SetMessageBoxHandler([this](const std::string& text, const std::string& caption, MessageIcon icon) {
          std::lock_guard lock(m_mutex);
          m_boxes.push_back({text, caption, icon});
      }))
{
}

MessageBoxCapture::~MessageBoxCapture() { SetMessageBoxHandler(m_previous); }

std::vector<MessageBoxCapture::Shown> MessageBoxCapture::Boxes() const
{
    std::lock_guard lock(m_mutex);
    return m_boxes;
}

}  // namespace tarvic::test
