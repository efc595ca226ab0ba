#pragma once

#include <memory>

#include <tarvic/control/GeneFonction.h>
#include <tarvic/elements/EidElement.h>
#include <tarvic/recording/Enregistrement.h>

#include "engine/model/Parameter.h"

namespace banc {

// Points in one block of the recording; block numbers are two hex digits.
inline constexpr int kPointsPerBlock = 32;
inline constexpr int kMaxBlocks = 256;

// The library's elements of one experiment: the bench, the mode's controller
// (or open-loop block), its generator and the recording.
struct Elements {
    std::unique_ptr<CEidElement> bench;
    std::unique_ptr<CEidElement> controller;
    std::unique_ptr<CGeneFonction> generator;
    std::unique_ptr<CEnregistrement> recording;

    CEidElement* Of(Role role) const
    {
        switch (role) {
        case Role::Bench: return bench.get();
        case Role::Controller: return controller.get();
        case Role::Generator: return generator.get();
        case Role::Recording: return recording.get();
        }
        return nullptr;
    }
};

}  // namespace banc
