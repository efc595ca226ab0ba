#pragma once

#include <string>

#include "tarvic/platform/Object.h"

// One command line of a panel's queue, as it goes on the wire.
class CMessage : public CObject {
public:
    CMessage(std::string texte, bool envoye = false) : m_envoye(envoye ? 1 : 0), m_texte(std::move(texte)) {}

    // "?" plus a mnemonic plus CR LF at least; anything else is an order,
    // which the card acknowledges rather than answers.
    bool IsQuery() const { return m_texte.size() >= 6 && m_texte[0] == '?'; }

    int m_envoye;         // 0 while waiting in the queue, 1 once written to the port
    std::string m_texte;  // prefix, text and CR LF
};
