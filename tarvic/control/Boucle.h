#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the card's controllers (PID, Z corrector, on/off, open loop) share: the
// wiring letters of the loop, the sampling period kept in "FERZ"/"TE", the
// configuration commands common to every controller kind, the "AVS" reply and
// the "Processus" part of their descriptions. Internal to the control folder.
namespace tarvic::boucle {

// Letters of the routed command ("DCP" second field) for the choice `ch` of
// the user: 0 isolated, 1 the bench's own routing, anything else temperature.
// `routedBenches` lists the card-unit benches whose routing letter is 'F'
// (the PID knows three of them, the on/off and Z correctors only 'S'); on a
// bench it does not know, choice 1 keeps `current`.
char ChoixCommande(char ch, int process, std::string_view routedBenches, char current);
// Feedback letters: 0 none, 1 and 2 the bench's two measurements, anything else '2'.
char ChoixRetour(char ch, int process, std::string_view routedBenches, char current);

// Sets `mask` in the action byte when `ch` is 1, clears it for any other value.
void MetBit(std::uint8_t& actions, std::uint8_t mask, char ch);

// Scales of the on/off and Z correctors' values: card units on the electrical
// load bench, the 3276 of a full analog range elsewhere.
void EchellesDuBanc(int process, float& echelleSortie, float& echelleValeurs);

// Sampling period shared by every controller and generator.
float LitTE();
void EcritTE(float te);

// "RTRE<kind>%2.2X", "RER%4.4X", "DCP%cF%c%c", "RD"/"RS", "F%c%c",
// "<kind>%2.2X" and "%4.4X" of the period.
std::string CmdType(int kind, unsigned char actions);
std::string CmdPeriode(float te);
std::string CmdCablage(int process, char commande, char retour);
std::string CmdModeRD(bool modeRD);
std::string FragmentCablage(char commande, char retour);
std::string FragmentActions(int kind, unsigned char actions);
std::string FragmentPeriode(float te);

// The four loop values of an "AVS" reply. Values 0 and 1 are 8 digits when
// `longValues`, otherwise every value is 4 digits, signed 16-bit; in percent
// mode values 0 to 2 are scaled by `echelleValeurs` and value 3, clamped to
// `echelleSortie` first, by `echelleSortie`. A field without digits keeps its
// value. False, and nothing changed, without "AVS".
bool TraitAVS(std::string_view reply, bool longValues, bool percent, float echelleValeurs, float echelleSortie,
              float (&valeurs)[4]);

// "\\gProcessus:\\n" part of the controllers' descriptions; the texts vary by
// controller and layout, the choice of them does not.
struct TextesProcessus {
    const char* entete;       // routed command
    const char* temperature;  // ... routed to the temperature
    const char* debit;        // ... routed to the flow
    const char* isolee;       // command not routed
    const char* retourTemperature;
    const char* retourDebit;
    const char* retourOuvert;
};
// The one-line texts, the same for every controller.
extern const TextesProcessus kProcessusEnLigne;
std::string DescriptionProcessus(char commande, char retour, const TextesProcessus& textes);

}  // namespace tarvic::boucle
