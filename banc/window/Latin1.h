#pragma once

#include <QString>

#include <string>

namespace banc::window {

// The library's texts are Latin-1: converted here, at the Qt boundary only.
inline QString Q(const std::string& latin1) { return QString::fromLatin1(latin1.data(), static_cast<int>(latin1.size())); }
inline std::string Latin1(const QString& text) { return text.toLatin1().toStdString(); }

// The engine's labels are lower-case phrases: "niveau 1" becomes "Niveau 1".
inline std::string Capitalised(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

}  // namespace banc::window
