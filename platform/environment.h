#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tarn {

/// Looks up an environment variable; tests pass their own table.
using Environment = std::function<std::optional<std::string>(const char* name)>;

/// The process environment (an empty value counts as unset).
std::optional<std::string> processEnvironment(const char* name);

/// $XDG_CONFIG_HOME/tarnlist, or $HOME/.config/tarnlist; nothing when neither
/// is an absolute path, so that nothing lands in the current folder.
std::optional<std::string> userConfigFolder(const Environment& env);

/// $XDG_STATE_HOME/tarnlist, or $HOME/.local/state/tarnlist; nothing as above.
std::optional<std::string> userStateFolder(const Environment& env);

}  // namespace tarn
