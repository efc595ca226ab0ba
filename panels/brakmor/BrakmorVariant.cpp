#include "BrakmorVariant.h"

namespace {

constexpr LelField kLel[] = {{3, 0}, {5, 1}, {7, 2}, {9, 3}};

constexpr PanelBit kIndicators[] = {
    {1001, "porte", 0, 7},
    {1002, "dcy", 0, 6},
    {1003, "m_auto", 0, 5},
    {1004, "m_manu", 0, 4},
    {1005, "v+", 0, 3},
    {1006, "v-", 0, 2},
    {1007, "piece_pince", 0, 1},
    {1008, "libre", 0, 0},
    {1009, "sy", 1, 7},
    {1010, "sz", 1, 6},
    {1011, "sx", 1, 5},
    {1012, "sr", 1, 4},
    {1013, "sp", 1, 3},
    {1014, "p_charg", 1, 2},
    {1015, "p_matricage", 1, 1},
    {1000, "aru", 1, 0},
    {1016, "Y sortie", 2, 7},
    {1017, "Y rentr\xE9", 2, 6},
    {1018, "Z sortie", 2, 5},
    {1019, "Z rentr\xE9", 2, 4},
    {1020, "X sortie", 2, 3},
    {1021, "X rentr\xE9", 2, 2},
    {1022, "Pince verticale", 2, 1},
    {1023, "Pince horizontal", 2, 0},
    {1025, "pince ferm\xE9" "e", 3, 7},
    {1024, "libre", 3, 6},
    {1026, "M sorti", 3, 5},
    {1027, "M rentr\xE9", 3, 4},
    {1028, "Marche", 3, 3},
    {1029, "en service", 3, 2},
    {1030, "sm", 3, 1},
    {1031, "libre", 3, 0},
};

// The third output byte has no check box: it always goes out as 00.
constexpr PanelBit kOutputs[] = {
    {1041, "R-", 0, 7},  {1040, "X+", 0, 6}, {1039, "X-", 0, 5},        {1037, "Z-", 0, 4},    {1038, "Z+", 0, 3},
    {1036, "Y +", 0, 2}, {1035, "Y-", 0, 1}, {1033, "M_SERVICE", 0, 0}, {1047, "V_DCY", 1, 6}, {1048, "V_DEFAUT", 1, 5},
    {1046, "M+", 1, 4},  {1045, "M-", 1, 3}, {1043, "P-", 1, 2},        {1044, "P+", 1, 1},    {1042, "R+", 1, 0},
};

constexpr PanelVariant kBrakmor{
    .name = "Brakmor",
    .caption = "QT4RX802K",
    .size = {320, 234},
    .entreeCount = 4,
    .sortieCount = 3,
    .lelFields = kLel,
    .indicators = kIndicators,
    .outputs = kOutputs,
    .cycle =
        {
            .acceptsAru = true,
            .queryAruEachCycle = true,
            .emdOnVerReply = true,
            .lelOnlyWhenIdentified = true,
            .statusShowsInputs = false,
            .firstPeriodMs = 100,
        },
    .identId = 1034,
    .statusId = 1034,
    .portButtonId = 1032,
    .portButtonText = "Port",
    .inputGroupTitle = "Entr\xE9" "e",
    .outputGroupTitle = "Sortie",
    .aboutTitle = "A propos de Brakmor",
    .aboutText = "Brakmor version 1.0",
    .aboutMenuText = "&A propos de Brakmor...",
    .portDialogCaption = "Choix du Port",
    .portComboId = 1035,
};

}  // namespace

const PanelVariant& BrakmorVariant() { return kBrakmor; }
