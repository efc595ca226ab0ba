#include "QuillonVariant.h"

namespace {

constexpr LelField kLel[] = {{3, 0}, {5, 1}, {7, 2}};

constexpr PanelBit kIndicators[] = {
    {1010, "a3b", 0, 7}, {1011, "a2h", 0, 6}, {1012, "a2b", 0, 5}, {1013, "a1", 0, 4},  {1000, "e4", 0, 3},
    {1001, "e3", 0, 2},  {1002, "e2", 0, 1},  {1003, "e1", 0, 0},  {1014, "po", 1, 7},  {1017, "aru", 1, 6},
    {1004, "ap4", 1, 5}, {1005, "ap3", 1, 4}, {1006, "ap2", 1, 3}, {1007, "ap1", 1, 2}, {1008, "a4", 1, 1},
    {1009, "a3h", 1, 0}, {1015, "sh", 2, 1},  {1016, "sb", 2, 0},
};

constexpr PanelBit kOutputs[] = {
    {1020, "L3B", 0, 7}, {1021, "L2H", 0, 6}, {1022, "L2B", 0, 5}, {1023, "L1", 0, 4}, {1024, "B", 0, 3},
    {1025, "C", 0, 2},   {1027, "D", 0, 1},   {1026, "M", 0, 0},   {1018, "L4", 1, 1}, {1019, "L3H", 1, 0},
};

constexpr PanelVariant kQuillon{
    .name = "Quillon",
    .caption = "Quillon",
    .size = {320, 200},
    .entreeCount = 3,
    .sortieCount = 2,
    .lelFields = kLel,
    .indicators = kIndicators,
    .outputs = kOutputs,
    .cycle = kStatusLineCycle,
    .identId = 1029,
    .statusId = 1028,
    .portButtonId = 1030,
    .portButtonText = "Port",
    .inputGroupTitle = "Entr\xE9" "es",
    .outputGroupTitle = "Sorties",
};

}  // namespace

const PanelVariant& QuillonVariant() { return kQuillon; }
