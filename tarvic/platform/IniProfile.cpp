#include "tarvic/platform/IniProfile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "tarvic/platform/IniProfileFile.h"

namespace tarvic {
namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trimmed(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const auto close = line.find(']');
    return Trimmed(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

struct EntryLine {
    std::string_view key;
    std::string_view value;
};

std::optional<EntryLine> ParseEntry(std::string_view line)
{
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || SectionName(line)) return std::nullopt;
    const auto key = Trimmed(line.substr(0, equals));
    if (key.empty() || key.front() == ';') return std::nullopt;
    return EntryLine{key, Trimmed(line.substr(equals + 1))};
}

std::string Unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// Where an entry of a section is, or where a new one goes.
struct Location {
    std::optional<std::size_t> section;  // the "[...]" line
    std::optional<std::size_t> entry;    // the "entry=" line
    std::size_t insertAt = 0;            // after the section's last non-blank line
};

Location Locate(const std::vector<std::string>& lines, std::string_view section, std::string_view entry)
{
    Location where;
    where.insertAt = lines.size();
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i])) {
            if (inside) break;  // the first section of that name is the one used
            inside = SameName(*name, section);
            if (inside) {
                where.section = i;
                where.insertAt = i + 1;
            }
            continue;
        }
        if (!inside) continue;
        if (!Trimmed(lines[i]).empty()) where.insertAt = i + 1;
        if (const auto parsed = ParseEntry(lines[i]); parsed && !where.entry && SameName(parsed->key, entry))
            where.entry = i;
    }
    return where;
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream file(path, std::ios::binary);
    for (std::string line; std::getline(file, line);) {
        // Every CR before the LF belongs to the line end, so that a rewrite
        // with the file's one line end reads back the same.
        while (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

// Whether the file can hold the names and the value so that they read back:
// a line break would add lines of its own, a ']' end the section name early,
// a '=' end the entry name early, a leading ';' or '[' make a comment or a
// section of the entry, and blanks around a name are not part of it.
bool Storable(std::string_view section, std::string_view entry, std::string_view value)
{
    const auto name = [](std::string_view text, std::string_view forbidden) {
        return !text.empty() && Trimmed(text) == text && text.find_first_of(forbidden) == std::string_view::npos;
    };
    return name(section, "\r\n]") && name(entry, "\r\n=") && entry.front() != ';' && entry.front() != '[' &&
           value.find_first_of("\r\n") == std::string_view::npos;
}

// The lines with the file's own line ends: a file from Windows stays CR LF.
std::string WithLineEnds(const std::string& path, const std::vector<std::string>& lines)
{
    std::string eol = "\n";
    {
        std::ifstream existing(path, std::ios::binary);
        std::string first;
        if (std::getline(existing, first) && !first.empty() && first.back() == '\r') eol = "\r\n";
    }
    std::string text;
    for (const auto& line : lines) text += line + eol;
    return text;
}

}  // namespace

IniProfile::IniProfile(std::string path) : m_path(std::move(path)) {}

std::string IniProfile::GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& defaultValue)
{
    // No lock: a writer replaces the file whole, so a read sees the old one or the new one.
    const auto lines = ReadLines(m_path);
    const auto where = Locate(lines, section, entry);
    if (!where.entry) return defaultValue;
    return Unquoted(ParseEntry(lines[*where.entry])->value);
}

bool IniProfile::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    if (!Storable(section, entry, value)) return false;
    const std::filesystem::path target(m_path);
    std::error_code error;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
    const std::string file = ProfileFileBehind(m_path);
    if (file.empty()) return false;
    const ProfileWriteLock lock(file);
    if (!lock.Held()) return false;
    // Read under the lock: what another program wrote meanwhile stays.
    auto lines = ReadLines(file);
    const auto where = Locate(lines, section, entry);
    if (where.entry) {
        // Keep the entry's own spelling, replace its value.
        const std::string key(ParseEntry(lines[*where.entry])->key);
        const std::string line = key + "=" + value;
        // A program writes back the settings it starts with: the file, its
        // two disk flushes and its rename are spared when nothing changes.
        if (lines[*where.entry] == line) return true;
        lines[*where.entry] = line;
    } else if (where.section) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(where.insertAt), entry + "=" + value);
    } else {
        if (!lines.empty() && !Trimmed(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + section + "]");
        lines.push_back(entry + "=" + value);
    }
    return ReplaceProfileFile(lock, file, WithLineEnds(file, lines));
}

}  // namespace tarvic
