#pragma once

#include <QString>

#include <string>

#include "engine/outputs/Capitalised.h"

namespace banc::window {

// The library's texts are Latin-1: converted here, at the Qt boundary only.
inline QString Q(const std::string& latin1)
{
    return QString::fromLatin1(latin1.data(), static_cast<int>(latin1.size()));
}
inline std::string Latin1(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace banc::window
