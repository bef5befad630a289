#include "platform/posix/user_environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tarn {
namespace {

std::optional<std::string> passwordHome() {
  long hint = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 4096);
  for (;;) {
    struct passwd entry;
    struct passwd* found = nullptr;
    int code = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found);
    if (code == ERANGE && buffer.size() < (1u << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (code != 0 || !found || !found->pw_dir || !*found->pw_dir) return std::nullopt;
    return std::string(found->pw_dir);
  }
}

}  // namespace

std::optional<std::string> userEnvironment(const char* name) {
  auto value = processEnvironment(name);
  if (!value && std::strcmp(name, "HOME") == 0) return passwordHome();
  return value;
}

}  // namespace tarn
