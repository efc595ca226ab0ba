#pragma once

#include "common/PanelVariant.h"

const PanelVariant& VarnokVariant();
