#include "net/support/RoomNews.h"

#include <map>
#include <regex>
#include <utility>

#include "net/support/WaitUntil.h"

namespace tarvic::test {

std::string Stamped(const std::string& payload)
{
    static const std::regex kTime(R"re("(horodatage|debut)":"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z")re");
    return std::regex_replace(payload, kTime, "\"$1\":\"T\"");
}

std::vector<std::string> News(const MessageLog& log)
{
    std::vector<std::string> news;
    std::map<std::string, std::string> last;
    for (const auto& [topic, payload] : log.Messages()) {
        std::string stamped = Stamped(payload);
        if (std::exchange(last[topic], stamped) == stamped) continue;
        news.push_back(topic.substr(topic.rfind('/') + 1) + " " + stamped);
    }
    return news;
}

std::vector<std::string> News(const MessageLog& log, std::size_t count)
{
    WaitUntil([&] { return News(log).size() >= count; });
    return News(log);
}

}  // namespace tarvic::test
