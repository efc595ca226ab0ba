#pragma once

#include <string>
#include <vector>

#include "tarvic/platform/RecordingDC.h"
#include "tarvic/widgets/Element.h"

namespace tarvic::test {

// What the element drew on a fresh recording device context.
inline std::vector<std::string> Drawing(const CElement& element)
{
    CRecordingDC dc;
    element.Draw(&dc);
    return dc.Descriptions();
}

inline const std::string black = "pen solid 1 rgb(0,0,0)";
inline const std::string white = "brush rgb(255,255,255)";

// A caption of the equation renderer in its default face, black.
inline std::string Caption(int x, int y, const std::string& quoted, int size)
{
    return "text (" + std::to_string(x) + "," + std::to_string(y) + ") \"" + quoted + "\" Times New Roman " +
           std::to_string(size) + "/" + std::to_string(size / 3) + " 400 rgb(0,0,0)";
}

}  // namespace tarvic::test
