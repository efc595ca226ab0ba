#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "tarvic/platform/Archive.h"

namespace tarvic {

// How one field goes into an archive and back: numbers as they are, fixed
// arrays element by element, owned objects in the object-list format.
template <class T>
    requires std::is_arithmetic_v<T>
void StoreField(CArchive& ar, const T& value)
{
    ar << value;
}
template <class T>
    requires std::is_arithmetic_v<T>
void LoadField(CArchive& ar, T& value)
{
    ar >> value;
}

template <class T, std::size_t N>
void StoreField(CArchive& ar, const std::array<T, N>& values)
{
    for (const T& value : values) StoreField(ar, value);
}
template <class T, std::size_t N>
void LoadField(CArchive& ar, std::array<T, N>& values)
{
    for (T& value : values) LoadField(ar, value);
}

template <class T>
void StoreField(CArchive& ar, const std::vector<std::unique_ptr<T>>& objects)
{
    ar.WriteObjectList(objects);
}
template <class T>
void LoadField(CArchive& ar, std::vector<std::unique_ptr<T>>& objects)
{
    ar.ReadObjectList(objects);
}

// Every load of an element goes through here, so that none is ever half done:
// `read(ar, copies...)` reads into fresh copies of the fields and returns
// whether the values it read can be right. The fields take the copies all
// together only when the archive held them all and `read` accepted them;
// otherwise they keep their values and the archive is failed, so that the
// caller sees it. True when the fields were loaded.
template <class Read, class... Fields>
bool LoadAllOrNothing(CArchive& ar, Read&& read, Fields&... fields)
{
    std::tuple<Fields...> copies{};
    const bool acceptable = std::apply([&](auto&... values) { return read(ar, values...); }, copies);
    if (ar.Failed()) return false;
    if (!acceptable) {
        ar.Fail();
        return false;
    }
    std::tie(fields...) = std::move(copies);
    return true;
}

// Stores the fields in the given order, or loads them in that order all or
// nothing, refusing the record when `acceptable(loaded values...)` is false.
// True when stored or loaded.
template <class Acceptable, class... Fields>
bool SerializeFieldsIf(CArchive& ar, Acceptable&& acceptable, Fields&... fields)
{
    if (ar.IsStoring()) {
        (StoreField(ar, std::as_const(fields)), ...);
        return true;
    }
    return LoadAllOrNothing(
        ar,
        [&acceptable](CArchive& in, auto&... values) {
            (LoadField(in, values), ...);
            return acceptable(std::as_const(values)...);
        },
        fields...);
}

template <class... Fields>
bool SerializeFields(CArchive& ar, Fields&... fields)
{
    return SerializeFieldsIf(ar, [](const auto&...) { return true; }, fields...);
}

}  // namespace tarvic
