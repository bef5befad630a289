#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tarn {

/// Looks up an environment variable; tests pass their own table.
using Environment = std::function<std::optional<std::string>(const char* name)>;

/// The process environment (an empty value counts as unset).
std::optional<std::string> processEnvironment(const char* name);

/// $XDG_CONFIG_HOME/tarnlist, or ~/.config/tarnlist.
std::string userConfigFolder(const Environment& env);

/// $XDG_STATE_HOME/tarnlist, or ~/.local/state/tarnlist.
std::string userStateFolder(const Environment& env);

}  // namespace tarn
