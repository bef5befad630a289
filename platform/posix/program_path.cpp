#include "platform/posix/program_path.h"

#include <filesystem>

namespace tarn {

std::string programPath(const char* argv0) {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && !self.empty()) return self.string();
  auto absolute = std::filesystem::absolute(argv0 ? argv0 : "tarnlist", ec);
  return ec ? std::string(argv0 ? argv0 : "tarnlist") : absolute.string();
}

}  // namespace tarn
