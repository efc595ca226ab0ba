#include "TorvaneVariant.h"

namespace {

constexpr LelField kLel[] = {{3, 0}, {5, 1}};

constexpr PanelBit kIndicators[] = {
    {1003, "ex12", 0, 7}, {1009, "aru", 0, 6},  {1010, "ai2", 0, 5},  {1011, "ai1", 0, 4},  {1012, "ai0", 0, 3},
    {1014, "ae2", 0, 2},  {1013, "ae1", 0, 1},  {1005, "ae0", 0, 0},  {1007, "ex17", 1, 4}, {1008, "ex16", 1, 3},
    {1004, "ex15", 1, 2}, {1006, "ex14", 1, 1}, {1002, "ex13", 1, 0},
};

constexpr PanelBit kOutputs[] = {
    {1019, "L2", 0, 4}, {1018, "L1", 0, 3}, {1017, "L0", 0, 2}, {1016, "CD", 0, 1}, {1015, "CM", 0, 0},
};

constexpr PanelVariant kTorvane{
    .name = "Torvane",
    .caption = "Torvane",
    .size = {286, 200},
    .entreeCount = 2,
    .sortieCount = 1,
    .lelFields = kLel,
    .indicators = kIndicators,
    .outputs = kOutputs,
    .cycle = kStatusLineCycle,
    .identId = 1029,
    .statusId = 1001,
    .portButtonId = 1000,
    .portButtonText = "Port...",
    .inputGroupTitle = "Entr\xE9" "es",
    .outputGroupTitle = "Sorties",
    .aboutTitle = "A propos de Torvane",
    .aboutText = "Torvane version 1.0",
    .aboutMenuText = "&A propos de Torvane...",
};

}  // namespace

const PanelVariant& TorvaneVariant() { return kTorvane; }
