#include "cli/HistoryOptions.h"

#include <tarvic/platform/Text.h>

#include <algorithm>

namespace banc::cli {
namespace {

bool IsDigits(const std::string& text, std::size_t from, std::size_t count)
{
    return text.size() >= from + count && std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from),
                                                      text.begin() + static_cast<std::ptrdiff_t>(from + count),
                                                      [](char c) { return c >= '0' && c <= '9'; });
}

int Number(const std::string& text, std::size_t from, std::size_t count) { return std::stoi(text.substr(from, count)); }

bool LeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool ValidDay(int year, int month, int day)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) return false;
    return day <= kDays[month - 1] + (month == 2 && LeapYear(year) ? 1 : 0);
}

// Digits only, without sign or blank: what a run's number is written as.
bool ParseRun(const std::string& text, long long& number)
{
    constexpr std::size_t kMostDigits = 15;
    if (text.empty() || text.size() > kMostDigits || !IsDigits(text, 0, text.size())) return false;
    number = std::stoll(text);
    return number >= 1;
}

std::string NotARun(const char* option, const std::string& value)
{
    return tarvic::Format("--%s %s : un num\xE9ro d'essai est un nombre entier \xE0 partir de 1 (voir --liste).",
                          option, value.c_str());
}

const char* OrderName(Request::Action action)
{
    switch (action) {
    case Request::Action::List: return "--liste";
    case Request::Action::ShowRun: return "--essai";
    case Request::Action::Compare: return "--comparer";
    case Request::Action::Comment: return "--commentaire";
    case Request::Action::Remove: return "--supprimer";
    default: return "";
    }
}

}  // namespace

bool IsHistoryOrder(Request::Action action)
{
    return action == Request::Action::List || action == Request::Action::ShowRun ||
           action == Request::Action::Compare || action == Request::Action::Comment ||
           action == Request::Action::Remove;
}

bool ValidSince(const std::string& text)
{
    const bool day = (text.size() == 10 || text.size() == 16) && IsDigits(text, 0, 4) && text[4] == '-' &&
                     IsDigits(text, 5, 2) && text[7] == '-' && IsDigits(text, 8, 2);
    if (!day || !ValidDay(Number(text, 0, 4), Number(text, 5, 2), Number(text, 8, 2))) return false;
    if (text.size() == 10) return true;
    return text[10] == ' ' && IsDigits(text, 11, 2) && text[13] == ':' && IsDigits(text, 14, 2) &&
           Number(text, 11, 2) < 24 && Number(text, 14, 2) < 60;
}

std::string RunNumber(const char* option, const char* value, std::vector<long long>& runs)
{
    long long number = 0;
    if (!ParseRun(value, number)) return NotARun(option, value);
    runs.push_back(number);
    return {};
}

std::string RunNumbers(const char* option, const char* value, std::vector<long long>& runs)
{
    const std::string list = value;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        const std::string item = list.substr(from, comma - from);
        long long number = 0;
        if (!ParseRun(item, number)) return NotARun(option, item);
        if (std::find(runs.begin(), runs.end(), number) != runs.end())
            return tarvic::Format("--%s : l'essai %lld est donn\xE9 deux fois.", option, number);
        runs.push_back(number);
        if (comma == list.size()) break;
        from = comma + 1;
    }
    if (runs.size() < 2)
        return tarvic::Format("--%s : au moins deux essais, s\xE9par\xE9s par des virgules (3,5).", option);
    if (runs.size() > static_cast<std::size_t>(kMostCompared))
        return tarvic::Format("--%s : au plus %d essais sur un trac\xE9.", option, kMostCompared);
    return {};
}

std::string HistoryRefusal(const Request& request)
{
    const char* order = OrderName(request.action);
    const bool list = request.action == Request::Action::List;
    for (const std::string& option : request.runOptionNames)
        if (!(list && option == "--banc"))
            return tarvic::Format("%s ne se combine pas avec %s.", order, option.c_str());
    if (!list && !request.since.empty()) return tarvic::Format("%s ne se combine pas avec --depuis.", order);
    struct Output {
        const char* name;
        bool given;
        bool taken;  // by this order
    };
    const bool showRun = request.action == Request::Action::ShowRun;
    const Output outputs[] = {
        {"--csv", !request.csv.empty(), showRun},
        {"--csv-format", request.csvFormat.has_value(), showRun},
        {"--png", !request.png.empty(), showRun || request.action == Request::Action::Compare},
        {"--archive", !request.archive.empty(), showRun},
        {"--json", !request.json.empty(), showRun},
        {"--rapport", !request.report.empty(), showRun || request.action == Request::Action::Compare},
        {"--profil", !request.profile.empty(), false}};
    for (const Output& output : outputs)
        if (output.given && !output.taken) return tarvic::Format("%s ne se combine pas avec %s.", order, output.name);
    return {};
}

}  // namespace banc::cli
