#pragma once
// What a fresh per-user store holds: the keys and values the programs read, as a
// freshly installed system would have them. Extend here when a program needs more.

#include "platform/registry_api.h"

namespace tv {

// Writes through the interface only; returns the first failure code, else ERROR_SUCCESS.
long seedRegistry(RegistryApi& registry);

}  // namespace tv
