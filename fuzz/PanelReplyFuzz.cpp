// libFuzzer target: the panels' reply matching. Queued commands and replies of
// any kind reach a station's process while its sending thread works the queue,
// as on the card link. Whatever comes, the queue keeps at most one unsent copy
// of a line, only its head is ever in flight, and the inputs it reads are bytes.
//
// The processes live across inputs: starting and stopping one takes a tenth of
// a second of the stop's polling. A queue grown long is answered empty first.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "FuzzSupport.h"
#include "brakmor/BrakmorVariant.h"
#include "common/Process.h"
#include "quillon/QuillonVariant.h"
#include "torvane/TorvaneVariant.h"
#include "varnok/VarnokVariant.h"

using namespace tarvic::fuzz;

namespace {

constexpr std::size_t kLongQueue = 32;

CProcess& Station(std::uint8_t choice)
{
    static const std::vector<CProcess*> stations = [] {
        tarvic::SetProfile(std::make_shared<tarvic::MemoryProfile>());
        std::vector<CProcess*> all;
        for (const PanelVariant* variant :
             {&BrakmorVariant(), &VarnokVariant(), &QuillonVariant(), &TorvaneVariant()}) {
            all.push_back(new CProcess(*variant));  // never deleted: see above
            all.back()->Demarre();
        }
        return all;
    }();
    return *stations[choice % stations.size()];
}

void CheckQueue(const CProcess& process)
{
    const std::vector<CMessage> queue = process.LitFile();
    std::map<std::string, int> unsent;
    for (std::size_t i = 0; i < queue.size(); ++i) {
        Check(i == 0 || queue[i].m_envoye == 0, "only the head of the queue is in flight");
        if (queue[i].m_envoye == 0) Check(++unsent[queue[i].m_texte] == 1, "at most one unsent copy of a line");
    }
    for (int i = 0; i < PanelVariant::kMaxEntrees; ++i)
        Check(process.LitEntree(i) >= 0 && process.LitEntree(i) <= 0xFF, "an input is a byte");
    Check(process.LitEtat() >= 0 && process.LitEtat() <= 0xFF, "the state is a byte");
}

// Answers the head until the queue is empty: any query is answered by "LEL",
// any order by "OK"; the sending thread retires each on its own time.
void Answer(CProcess& process)
{
    for (std::vector<CMessage> queue; !(queue = process.LitFile()).empty();) {
        process.TraiteRecept(queue.front().IsQuery() ? "!LEL00000000" : "!OK");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (process.LitFile().size() >= queue.size() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        CheckQueue(process);
    }
}

std::string Reply(Input& in)
{
    static const char* const kKinds[] = {"", "!", "!LEL", "!VER", "!ARU", "!OK", "!Erreur", "?LEL"};
    return kKinds[in.Byte() % std::size(kKinds)] + in.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    CProcess& process = Station(in.Byte());
    while (!in.Empty()) {
        switch (in.Byte() % 8) {
        case 0: process.Demande("LEL"); break;
        case 1: process.Demande("VER"); break;
        case 2: process.Demande("ARU"); break;
        case 3: process.Ordre("EMD 1"); break;
        case 4: {
            const std::uint8_t bit = in.Byte();
            process.SetSortieBit(bit % 4, bit / 4 % 9, bit & 0x80);
            process.EnvoiSorties();
            break;
        }
        default: process.TraiteRecept(Reply(in)); break;
        }
        CheckQueue(process);
    }
    if (process.LitFile().size() > kLongQueue) Answer(process);
    return 0;
}
