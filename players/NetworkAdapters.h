// This machine's IPv4 adapters as the system's IP helper lists them (loaded from the system
// folder when first asked): name, address, mask, whether it is up, a loopback, or able to
// broadcast. Nothing when the list cannot be had; the lobby then announces to 255.255.255.255.
#pragma once

#include <optional>
#include <vector>

#include "lobby/Adapters.h"

namespace players {

std::optional<std::vector<lobby::Adapter>> ListAdapters();

}  // namespace players
