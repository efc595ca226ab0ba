#pragma once

// The recording's curve table: for every curve code, the row of a block that
// holds its samples and how they scale, on the two kinds of bench. Internal to
// the library.
namespace tarvic {

// Scaling on the percent benches ('D', 'N').
enum class EchelleDN { Pourcent, Vingt, Decale, Niveau, Brute };
// Scaling on the card-unit benches ('S', 'I', 'X').
enum class EchelleSIX { Brute, Mesure7, Quart, Div2048, Div8529, Position, Vitesse, Acceleration };

struct Courbe {
    int rangDN = -1;  // -1: not a curve of the recording
    int rangSIX = -1;
    bool mot32SIX = false;  // on S/I/X the row above holds the high word
    EchelleDN echelleDN = EchelleDN::Brute;
    EchelleSIX echelleSIX = EchelleSIX::Brute;
    int axeDN = 0;
    int axeSIX = 0;  // for '7' the measure-7 selector decides instead
};

// The entry of a code; a code that is no curve has no row on either bench.
const Courbe& TrouveCourbe(int code);

}  // namespace tarvic
