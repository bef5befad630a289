#include "platform/environment.h"

#include <cstdlib>

namespace tarn {
namespace {

/// Relative values are ignored, as the XDG base directories require.
std::optional<std::string> absoluteValue(const Environment& env, const char* variable) {
  auto value = env(variable);
  if (!value || value->empty() || value->front() != '/') return std::nullopt;
  return value;
}

std::optional<std::string> xdgFolder(const Environment& env, const char* variable,
                                     const char* fallback) {
  if (auto dir = absoluteValue(env, variable)) return *dir + "/tarnlist";
  if (auto home = absoluteValue(env, "HOME")) return *home + "/" + fallback + "/tarnlist";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> processEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  return std::string(value);
}

std::optional<std::string> userConfigFolder(const Environment& env) {
  return xdgFolder(env, "XDG_CONFIG_HOME", ".config");
}

std::optional<std::string> userStateFolder(const Environment& env) {
  return xdgFolder(env, "XDG_STATE_HOME", ".local/state");
}

}  // namespace tarn
