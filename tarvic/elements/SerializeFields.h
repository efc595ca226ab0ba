#pragma once

#include <tuple>

#include "tarvic/platform/Archive.h"

namespace tarvic {

// Stores the fields in the given order, or loads them in that order. A load
// that runs out of bytes changes none of them: the caller sees the archive
// failed and the element keeps its settings instead of a record of zeros.
template <class... Fields>
void SerializeFields(CArchive& ar, Fields&... fields)
{
    if (ar.IsStoring()) {
        (ar << ... << fields);
        return;
    }
    std::tuple<Fields...> loaded;
    std::apply([&ar](auto&... values) { (ar >> ... >> values); }, loaded);
    if (!ar.Failed()) std::tie(fields...) = loaded;
}

}  // namespace tarvic
