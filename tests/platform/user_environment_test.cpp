#include "platform/posix/user_environment.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace tarn {
namespace {

// Services and cron jobs run without HOME; their settings must still go to
// the user's folder, never the current one.
TEST(UserEnvironment, WithoutHomeTheUsersFolderComesFromThePasswordDatabase) {
  std::optional<std::string> saved[2];
  const char* names[2] = {"HOME", "XDG_CONFIG_HOME"};
  for (int i = 0; i < 2; ++i) {
    saved[i] = processEnvironment(names[i]);
    ::unsetenv(names[i]);
  }
  auto folder = userConfigFolder(userEnvironment);
  for (int i = 0; i < 2; ++i)
    if (saved[i]) ::setenv(names[i], saved[i]->c_str(), 1);
  const passwd* entry = ::getpwuid(::getuid());
  if (!entry || !entry->pw_dir || entry->pw_dir[0] != '/') GTEST_SKIP() << "no home folder in the password database";
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(*folder, std::string(entry->pw_dir) + "/.config/tarnlist");
}

}  // namespace
}  // namespace tarn
