#pragma once

#include "common/PanelVariant.h"

const PanelVariant& TorvaneVariant();
