#pragma once

// Everything the library offers to a controlling application.
#include "tarvic/elements/EidElement.h"
#include "tarvic/elements/Encoding.h"
#include "tarvic/platform/Archive.h"
#include "tarvic/platform/Clock.h"
#include "tarvic/platform/Event.h"
#include "tarvic/platform/IniProfile.h"
#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/platform/MessageBox.h"
#include "tarvic/platform/Object.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/SerialPort.h"
#include "tarvic/platform/Text.h"
#include "tarvic/platform/Trace.h"
#include "tarvic/platform/WinThread.h"
#include "tarvic/serial/ComThread.h"
#include "tarvic/serial/LineAssembler.h"
