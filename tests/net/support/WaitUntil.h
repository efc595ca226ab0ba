#pragma once

// One polling helper for every test, the panels' and the console's included.
#include "support/WaitUntil.h"
