#include "platform/posix/real_file_system.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "support/fakes.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

std::string contentsOf(const fs::path& path) { return test::readRealFile(path.string()).value_or("<none>"); }

void put(const fs::path& path, const std::string& contents, fs::perms mode = fs::perms(0644)) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << contents;
  fs::permissions(path, mode);
}

/// Runs `write` as a user whose permissions are checked: ourselves, or
/// "nobody" in a child process when the tests run as root.
bool writeAsUser(const std::function<bool()>& write) {
  if (::geteuid() != 0) return write();
  pid_t child = ::fork();
  if (child == 0) {
    bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
    ::_exit(dropped && write() ? 0 : 1);
  }
  int status = 0;
  return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

class RealFileSystemWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tarnlist-fs-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::permissions(dir, fs::perms(0755));  // "nobody" must reach the files
  }
  void TearDown() override {
    std::error_code ec;
    for (auto& entry : fs::recursive_directory_iterator(dir, ec))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
  }

  fs::path dir;
  RealFileSystem files;
};

TEST_F(RealFileSystemWrite, SavesWithoutLosingLinksModesOrReadOnlyFiles) {
  struct Case {
    const char* name;
    std::function<fs::path(const fs::path&)> arrange;  ///< returns the path written
    bool saved;
    std::function<void(const fs::path&)> check;
  };
  const Case cases[] = {
      {"a link stays and its target takes the bytes",
       [](const fs::path& d) {
         put(d / "real" / "t.DAT", "old");
         fs::create_directory_symlink("real", d / "via");
         fs::create_directories(d / "conf");
         fs::create_symlink("../via/t.DAT", d / "conf" / "t.DAT");  // two hops, relative
         return d / "conf" / "t.DAT";
       },
       true,
       [](const fs::path& d) {
         EXPECT_TRUE(fs::is_symlink(fs::symlink_status(d / "conf" / "t.DAT")));
         EXPECT_EQ(contentsOf(d / "real" / "t.DAT"), "new");
       }},
      {"a link to a file not there yet creates it",
       [](const fs::path& d) {
         fs::create_directories(d / "conf");
         fs::create_symlink(d / "conf" / "later.DAT", d / "link.DAT");
         return d / "link.DAT";
       },
       true,
       [](const fs::path& d) {
         EXPECT_TRUE(fs::is_symlink(fs::symlink_status(d / "link.DAT")));
         EXPECT_EQ(contentsOf(d / "conf" / "later.DAT"), "new");
       }},
      {"a private file stays private",
       [](const fs::path& d) {
         put(d / "p.DAT", "old", fs::perms(0600));
         return d / "p.DAT";
       },
       true,
       [](const fs::path& d) {
         EXPECT_EQ(fs::status(d / "p.DAT").permissions(), fs::perms(0600));
         EXPECT_EQ(contentsOf(d / "p.DAT"), "new");
       }},
      {"a file nobody may write is left alone, root or not",
       [](const fs::path& d) {
         put(d / "r.DAT", "old", fs::perms(0444));
         return d / "r.DAT";
       },
       false,
       [](const fs::path& d) {
         EXPECT_EQ(contentsOf(d / "r.DAT"), "old");
         EXPECT_EQ(fs::status(d / "r.DAT").permissions(), fs::perms(0444));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    fs::path target = c.arrange(dir);
    std::string err;
    EXPECT_EQ(files.writeFile(target.string(), "new", &err), c.saved) << err;
    EXPECT_EQ(err.empty(), c.saved) << err;
    c.check(dir);
    for (auto& entry : fs::recursive_directory_iterator(dir))
      EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
          << "temporary file left: " << entry.path();
  }
}

// A save of unchanged settings must not replace the file (no new inode, no
// fsync), yet every other outcome stays as if it had been written.
TEST_F(RealFileSystemWrite, AFileHoldingTheBytesAlreadyIsLeftAlone) {
  struct Case {
    const char* name;
    std::string before;
    fs::perms mode;
    bool saved;
    bool sameFile;  ///< the old inode is still the file
  };
  const Case cases[] = {
      {"the same bytes", "new", fs::perms(0644), true, true},
      {"other bytes of the same length", "old", fs::perms(0644), true, false},
      {"the bytes and more", "newer", fs::perms(0644), true, false},
      {"fewer bytes", "ne", fs::perms(0644), true, false},
      {"the same bytes, read-only", "new", fs::perms(0444), false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path path = dir / "s.DAT";
    fs::remove(path);
    put(path, c.before, c.mode);
    struct stat before;
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    EXPECT_EQ(files.writeFile(path.string(), "new", nullptr), c.saved);
    struct stat after;
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino == before.st_ino, c.sameFile);
    EXPECT_EQ(contentsOf(path), c.saved ? "new" : c.before);
  }
}

// The user may write the file but not create files beside it.
TEST_F(RealFileSystemWrite, AFileInAFolderTheUserCannotWriteIsWrittenInPlace) {
  put(dir / "locked" / "t.DAT", "older and longer", fs::perms(0666));
  put(dir / "locked" / "ro.DAT", "old", fs::perms(0444));
  fs::permissions(dir / "locked", fs::perms(0555));
  const std::string path = (dir / "locked" / "t.DAT").string();
  const std::string readOnly = (dir / "locked" / "ro.DAT").string();
  EXPECT_TRUE(writeAsUser([&] { return files.writeFile(path, "new", nullptr); }));
  EXPECT_EQ(contentsOf(path), "new") << "the old tail is cut off";
  EXPECT_FALSE(writeAsUser([&] { return files.writeFile(readOnly, "new", nullptr); }));
  EXPECT_EQ(contentsOf(readOnly), "old");
  EXPECT_FALSE(writeAsUser([&] {
    return files.writeFile((dir / "locked" / "new.DAT").string(), "new", nullptr);
  })) << "a new file needs the folder";
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "locked"), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace tarn
