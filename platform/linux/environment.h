#pragma once
// The process environment as the programs' start-up code hands it on: implementations
// take a lookup instead of calling getenv, so tests give them any environment.

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace tv {

// The value of a variable; nothing when it is unset or empty.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The running process's own environment; only start-up code calls it.
EnvironmentLookup processEnvironment();

// A fixed set of variables, for tests.
EnvironmentLookup fixedEnvironment(std::map<std::string, std::string> variables);

}  // namespace tv
