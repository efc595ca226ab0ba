#pragma once

#include <span>

// What makes one station's panel different from the others: the four programs
// share every line of code and differ only by one constant table of this kind.
// Texts are Latin-1.

// One input indicator or one output check box: control, caption, and the bit
// it shows or drives (bit 0 is the least significant bit of the byte).
struct PanelBit {
    int id;
    const char* text;
    int byte;
    int bit;
};

// Where the reply to the query LEL holds a value: two hexadecimal digits at
// `offset` characters from the start of "LEL".
struct LelField {
    static constexpr int kEtat = -1;  // the station state index, not an input byte
    int offset;
    int target;  // input byte index, or kEtat
};

// The dialog-unit sizes of the original templates; converted for the dialog
// font when the window is laid out.
struct DialogUnits {
    int width;
    int height;
};

// How the timer cycle greets and polls the card, and which replies it takes.
struct CycleRules {
    bool acceptsAru;             // an "ARU" reply completes a pending query
    bool queryAruEachCycle;      // every cycle ends by queueing "ARU"
    bool emdOnVerReply;          // "EMD 1" queued on the "VER" reply, else by the cycle
    bool lelOnlyWhenIdentified;  // poll and show inputs only once identified
    bool statusShowsInputs;      // the link text and "LEL .." in the status line
    int firstPeriodMs;
};

// The cycle of the stations whose status line tells the link and the inputs:
// identified by the cycle, polled only once identified.
inline constexpr CycleRules kStatusLineCycle{
    .acceptsAru = false,
    .queryAruEachCycle = false,
    .emdOnVerReply = false,
    .lelOnlyWhenIdentified = true,
    .statusShowsInputs = true,
    .firstPeriodMs = 1000,
};

struct PanelVariant {
    static constexpr int kMaxEntrees = 4;
    static constexpr int kMaxSorties = 3;
    static constexpr int kNoControl = 0;

    const char* name;  // program, profile, traces
    const char* caption;
    DialogUnits size;

    int entreeCount;
    int sortieCount;
    std::span<const LelField> lelFields;
    std::span<const PanelBit> indicators;
    std::span<const PanelBit> outputs;

    CycleRules cycle;

    // Controls; kNoControl where the program has none.
    int identId;
    int statusId;
    int etatId = kNoControl;     // station state text
    int connectId = kNoControl;  // "Connect..." button
    int portButtonId;
    const char* portButtonText;

    // Station state text: the text of the state index, unless the alarm bit
    // is set; no state text where etatId is kNoControl.
    std::span<const char* const> etatTexts = {};
    const char* etatAlarmText = nullptr;
    int etatAlarmByte = 0;
    int etatAlarmBit = 0;

    const char* inputGroupTitle;
    const char* outputGroupTitle;

    // About box; null where the program has none.
    const char* aboutTitle = nullptr;
    const char* aboutText = nullptr;
    const char* aboutMenuText = nullptr;

    // Port dialog.
    const char* portDialogCaption = "Choix du port";
    int portComboId = 1006;
    const char* portDialogDefault = "COM1";
};
