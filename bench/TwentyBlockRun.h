#pragma once

#include <cstdint>
#include <memory>

#include "engine/run/Setup.h"
#include "recording/RecordingSupport.h"
#include "tarvic/platform/MemoryProfile.h"

// A water level PID run of 20 blocks (ten minutes of 0.5 s points) whose rows
// vary as a card's do, so that its archive and its plot weigh what a real
// run's do: what the history keeps and the report prints.
struct TwentyBlockRun {
    static constexpr int kBlocks = 20;

    TwentyBlockRun()
    {
        settings.bench = banc::FindBench("niveaueau");
        settings.mode = banc::FindMode(*settings.bench, "pid");
        settings.duration = kBlocks * 16;
        banc::Configure(settings, std::make_shared<tarvic::MemoryProfile>(), elements);
        elements.recording->SetStart(true);
        for (int block = 0; block < kBlocks; ++block) {
            tarvic::test::Valeurs values{};
            for (int row = 0; row < CBlocPoint::kRangs; ++row)
                for (int point = 0; point < CBlocPoint::kPoints; ++point)
                    values[row][point] = static_cast<std::uint16_t>((block * 32 + point) * 7 + row * 131);
            elements.recording->TraitRecept(tarvic::test::LigneBloc(block, values));
        }
    }
    banc::Settings settings;
    banc::Elements elements;
};
