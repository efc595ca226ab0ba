#pragma once

#include <optional>
#include <string>

#include "engine/analysis/ProcessModel.h"

namespace banc {

// The lab work's figures for a reader, in French (decimal comma), Latin-1.

// "50,00" for two decimals of 50.
std::string DecimalText(double value, int decimals);
// "0,667" for three digits of 0.66666.
std::string SignificantText(double value, int digits);
// A time to the resolution of points `samplePeriod` s apart ("20,0 s" for
// 0.5 s points); 0: to three significant digits.
std::string SecondsText(double seconds, double samplePeriod);
// "12,5 %".
std::string PercentText(double percent);
// A controller setting as the profile keeps it: "0,125", "2", "12,5".
std::string SettingText(float value);
// A model's gain unit: "%/%", or "%/s/%" for an integrator.
std::string GainUnit(const analysis::ProcessModel& model, const std::string& measureUnit,
                     const std::string& commandUnit);

}  // namespace banc
