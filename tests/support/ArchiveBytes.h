#pragma once

#include <cstddef>
#include <optional>
#include <sstream>
#include <string>

#include "tarvic/platform/Archive.h"

namespace tarvic::test {

// The bytes an object's Serialize stores.
inline std::string StoredBytes(CObject& object)
{
    std::stringstream stream;
    {
        CArchive ar(stream, CArchive::store);
        object.Serialize(ar);
    }
    return stream.str();
}

// Loads `object` from `bytes`: how many of them its record took, or nothing
// when the archive failed (a short record, or one the object refused).
inline std::optional<std::size_t> LoadBytes(CObject& object, const std::string& bytes)
{
    std::stringstream stream(bytes);
    CArchive ar(stream, CArchive::load);
    object.Serialize(ar);
    if (ar.Failed()) return std::nullopt;
    return static_cast<std::size_t>(stream.tellg());
}

}  // namespace tarvic::test
