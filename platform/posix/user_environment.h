#pragma once

#include <optional>
#include <string>

#include "platform/environment.h"

namespace tarn {

/// The process environment, where an unset HOME is the user's home folder
/// from the password database (services and cron jobs often run without one).
std::optional<std::string> userEnvironment(const char* name);

}  // namespace tarn
