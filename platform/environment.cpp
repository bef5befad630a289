#include "platform/environment.h"

#include <cstdlib>

namespace tarn {
namespace {

std::string xdgFolder(const Environment& env, const char* variable, const char* fallback) {
  if (auto dir = env(variable)) return *dir + "/tarnlist";
  std::string home = env("HOME").value_or(".");
  return home + "/" + fallback + "/tarnlist";
}

}  // namespace

std::optional<std::string> processEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  return std::string(value);
}

std::string userConfigFolder(const Environment& env) {
  return xdgFolder(env, "XDG_CONFIG_HOME", ".config");
}

std::string userStateFolder(const Environment& env) {
  return xdgFolder(env, "XDG_STATE_HOME", ".local/state");
}

}  // namespace tarn
