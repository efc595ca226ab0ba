#pragma once

#include <string>
#include <vector>

#include "engine/Curve.h"
#include "engine/Elements.h"
#include "engine/PlotImage.h"
#include "engine/Settings.h"

namespace banc {

// What the outputs of an experiment are made of, for a run and for a loaded archive alike.

// The recording's period between points, ms.
int PeriodMs(CEnregistrement& recording);
// Whole blocks acquired.
int BlocksAcquired(const CEnregistrement& recording);
// The CSV columns after the time.
std::vector<Curve> ResultColumns(const Settings& settings);
// The bench and the controller, for titles; Latin-1.
std::string ExperimentTitle(const Settings& settings);
// The plot: setpoint, measurement and command, with the controller's and the generator's descriptions.
PlotContent MakePlot(const Settings& settings, const Elements& elements);

}  // namespace banc
