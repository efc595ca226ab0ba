#include "VarnokVariant.h"

namespace {

constexpr LelField kLel[] = {{3, 0}, {5, 1}, {8, LelField::kEtat}};

constexpr PanelBit kIndicators[] = {
    {1012, "pbas", 0, 7}, {1011, "phaut", 0, 6}, {1010, "av", 0, 5},  {1009, "ar", 0, 4},
    {1008, "bas", 0, 3},  {1007, "haut", 0, 2},  {1006, "bd", 0, 1},  {1001, "bg", 0, 0},
    {1020, "aru", 1, 7},  {1019, "e_aru", 1, 6}, {1018, "cr2", 1, 5}, {1017, "cr1", 1, 4},
    {1016, "dcy", 1, 3},  {1015, "pp", 1, 2},    {1014, "pf", 1, 1},  {1013, "po", 1, 0},
};

constexpr PanelBit kOutputs[] = {
    {1002, "BD", 0, 7},  {1022, "BG", 0, 6},  {1023, "TB", 0, 5},  {1024, "TH", 0, 4}, {1025, "TV", 0, 3},
    {1026, "TR", 0, 2},  {1027, "PB", 0, 1},  {1028, "PH", 0, 0},  {1029, "PF", 1, 7}, {1030, "PO", 1, 6},
    {1031, "AR1", 1, 5}, {1032, "AR2", 1, 4}, {1033, "AR3", 1, 3},
};

constexpr const char* kEtats[] = {"Fonctionnement normal", "POM : OP TR TH", "POM: BD PH"};

constexpr PanelVariant kVarnok{
    .name = "Varnok",
    .caption = "Varnok",
    .size = {320, 220},
    .entreeCount = 2,
    .sortieCount = 2,
    .lelFields = kLel,
    .indicators = kIndicators,
    .outputs = kOutputs,
    .cycle =
        {
            .acceptsAru = true,
            .queryAruEachCycle = false,
            .emdOnVerReply = true,
            .lelOnlyWhenIdentified = false,
            .statusShowsInputs = false,
            .firstPeriodMs = 1000,
        },
    .identId = 1004,
    .statusId = 1004,
    .etatId = 1003,
    .connectId = 1005,
    .portButtonId = 1021,
    .portButtonText = "Port",
    .etatTexts = kEtats,
    .etatAlarmText = "Arr\xEAt d'urgence enclencher",
    .etatAlarmByte = 1,
    .etatAlarmBit = 6,
    .inputGroupTitle = "Entr\xE9" "es",
    .outputGroupTitle = "Sortie",
    .aboutTitle = "A propos de Varnok",
    .aboutText = "Varnok version 1.0",
    .aboutMenuText = "&A propos de Varnok...",
    .portDialogDefault = "COM6",
};

}  // namespace

const PanelVariant& VarnokVariant() { return kVarnok; }
