#pragma once

#include <string>

namespace tarn {

/// Full path of the running program file; `argv0` when the system cannot tell.
std::string programPath(const char* argv0);

}  // namespace tarn
