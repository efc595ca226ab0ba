#include "cli/Progress.h"

#include <tarvic/platform/Text.h>

#include "cli/Console.h"
#include "engine/run/ProgressText.h"

namespace banc::cli {

Progress::Progress(std::FILE* stream, int blocks, double secondsPerBlock, std::string unit)
    : m_stream(stream), m_terminal(IsTerminal(stream)), m_secondsPerBlock(secondsPerBlock), m_unit(std::move(unit)),
      m_total(blocks)
{
}

Progress::~Progress()
{
    if (m_lineOpen) Write(m_stream, "\n");
}

void Progress::Started(int configurationLines)
{
    Write(m_stream, tarvic::Format("Carte configur\xE9" "e (%d lignes), essai en cours.\n", configurationLines));
}

std::string Progress::Line() const
{
    std::string line = m_resting ? "Repos, mesure surveill\xE9" "e depuis " + Duration(*m_resting)
                                 : BlockProgress(m_acquired, m_total, m_secondsPerBlock);
    if (!m_hasLive) return line;
    const char* unit = m_unit.c_str();
    if (m_live.hasSetpoint) line += tarvic::Format(", consigne %.1f %s", double{m_live.setpoint}, unit);
    return line +
           tarvic::Format(", mesure %.1f %s, commande %.1f %%", double{m_live.measure}, unit, double{m_live.command});
}

void Progress::Live(const LiveValues& values)
{
    m_live = values;
    m_hasLive = true;
    if (!m_terminal) return;
    // Back to the start of the line, the new text, the rest of the old one wiped.
    Write(m_stream, "\r" + Line() + "\x1B[K");
    m_lineOpen = true;
}

void Progress::Resting(double seconds)
{
    if (!m_resting && !m_terminal)
        Write(m_stream, "Repos avant l'essai : la mesure est surveill\xE9" "e jusqu'\xE0 ce qu'elle soit stable.\n");
    m_resting = seconds;
    if (!m_terminal) return;
    Write(m_stream, "\r" + Line() + "\x1B[K");
    m_lineOpen = true;
}

void Progress::BlockAcquired(int acquired, int total)
{
    m_resting.reset();
    m_acquired = acquired;
    m_total = total;
    if (m_terminal) {
        Write(m_stream, "\r" + Line() + "\x1B[K");
        m_lineOpen = true;
    } else {
        Write(m_stream, Line() + "\n");
    }
}

}  // namespace banc::cli
