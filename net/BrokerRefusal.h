#pragma once

#include <string>

#include "MqttSettings.h"

namespace net {

// Why a connection to the broker failed, as far as the client can tell.
enum class Refusal { Unreachable, Account, Tls };

// The French (Latin-1) message for it, naming the broker and what to check.
std::string RefusalText(Refusal refusal, const MqttSettings& settings);

}  // namespace net
