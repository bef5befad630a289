#include "platform/posix/posix_file_attributes.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/fakes.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using Store = PosixFileAttributes::ArchiveStore;

bool sameTimes(const struct stat& a, const struct stat& b) {
  return a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_atim.tv_sec == b.st_atim.tv_sec && a.st_atim.tv_nsec == b.st_atim.tv_nsec &&
         a.st_size == b.st_size;
}

class PosixFileAttributesTest : public ::testing::TestWithParam<Store> {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tarnlist-attr-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    state_ = dir_ + "/state";
    file_ = dir_ + "/files/MAIN.CLW";
    fs::create_directories(dir_ + "/files");
    write(file_, "PROGRAM\n");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  Environment env() const {
    return [state = state_](const char* name) -> std::optional<std::string> {
      if (std::string(name) == "XDG_STATE_HOME") return state;
      return std::nullopt;
    };
  }
  static void write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  }
  static struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
  }
  static bool hasAttribute(const std::string& path) {
    return ::getxattr(path.c_str(), PosixFileAttributes::kAttributeName, nullptr, 0) >= 0;
  }
  bool hasStateRecords() const {
    std::error_code ec;
    return fs::is_directory(state_ + "/tarnlist/archive", ec) &&
           !fs::is_empty(state_ + "/tarnlist/archive", ec);
  }
  // Whether this file system takes user extended attributes at all.
  bool attributesWork() const {
    std::string probe = dir_ + "/probe";
    write(probe, "");
    return ::setxattr(probe.c_str(), "user.tarnlist.probe", "1", 1, 0) == 0;
  }
  bool archived(PosixFileAttributes& attrs, const std::string& path) {
    return attrs.get(path).value_or(0) & kAttrArchive;
  }
  bool clear(PosixFileAttributes& attrs, const std::string& path) {
    auto bits = attrs.get(path);
    return bits && attrs.set(path, *bits & ~kAttrArchive);
  }

  std::string dir_, state_, file_;
};

TEST_P(PosixFileAttributesTest, ArchiveMeansWrittenSinceCleared) {
  PosixFileAttributes attrs(env(), GetParam());
  EXPECT_TRUE(archived(attrs, file_)) << "a fresh file";

  struct stat before = statOf(file_);
  ASSERT_TRUE(clear(attrs, file_));
  struct stat after = statOf(file_);
  EXPECT_TRUE(sameTimes(before, after)) << "clearing touched the file's time stamps";
  EXPECT_EQ(test::readRealFile(file_), "PROGRAM\n");
  EXPECT_FALSE(archived(attrs, file_));
  EXPECT_FALSE(archived(attrs, file_)) << "reading does not set it";
  EXPECT_FALSE(archived(*std::make_unique<PosixFileAttributes>(env(), GetParam()), file_))
      << "the record outlives the object";

  write(file_, "PROGRAM\nMAP\n");
  EXPECT_TRUE(archived(attrs, file_)) << "content and size changed";

  ASSERT_TRUE(clear(attrs, file_));
  struct stat recorded = statOf(file_);
  write(file_, "program\nmap\n");
  // Only the nanoseconds differ; a coarser file system gets another second.
  struct timespec times[2] = {recorded.st_atim, recorded.st_mtim};
  times[1].tv_nsec = (times[1].tv_nsec + 1) % 1000000000;
  ASSERT_EQ(::utimensat(AT_FDCWD, file_.c_str(), times, 0), 0);
  if (statOf(file_).st_mtim.tv_nsec == recorded.st_mtim.tv_nsec) {
    ++times[1].tv_sec;
    ASSERT_EQ(::utimensat(AT_FDCWD, file_.c_str(), times, 0), 0);
  }
  EXPECT_TRUE(archived(attrs, file_)) << "same size, other time";

  ASSERT_TRUE(clear(attrs, file_));
  EXPECT_TRUE(attrs.set(file_, *attrs.get(file_) | kAttrArchive));
  EXPECT_TRUE(archived(attrs, file_)) << "set again explicitly";
  EXPECT_FALSE(hasStateRecords()) << "setting removes the record";
}

TEST_P(PosixFileAttributesTest, RecordGoesWhereTheStoreSays) {
  bool xattrs = attributesWork();
  PosixFileAttributes attrs(env(), GetParam());
  ASSERT_TRUE(clear(attrs, file_));
  if (GetParam() == Store::StateFolder) {
    EXPECT_FALSE(hasAttribute(file_));
    EXPECT_TRUE(hasStateRecords());
  } else {
    EXPECT_EQ(hasAttribute(file_), xattrs);
    EXPECT_EQ(hasStateRecords(), !xattrs);
  }
}

TEST_P(PosixFileAttributesTest, ClearedThroughALinkIsClearedForTheFile) {
  std::string link = dir_ + "/link.clw";
  fs::create_symlink(file_, link);
  PosixFileAttributes attrs(env(), GetParam());
  ASSERT_TRUE(clear(attrs, link));
  EXPECT_FALSE(archived(attrs, file_));
}

TEST_P(PosixFileAttributesTest, ReadOnlyFilesCanBeCleared) {
  ASSERT_EQ(::chmod(file_.c_str(), 0444), 0);
  PosixFileAttributes attrs(env(), GetParam());
  ASSERT_TRUE(clear(attrs, file_));
  EXPECT_EQ(attrs.get(file_), kAttrReadOnly);
  EXPECT_EQ(statOf(file_).st_mode & 07777, 0444u);
}

TEST_P(PosixFileAttributesTest, MissingPaths) {
  PosixFileAttributes attrs(env(), GetParam());
  EXPECT_EQ(attrs.get(dir_ + "/files/NONE.CLW"), std::nullopt);
  EXPECT_EQ(attrs.get(file_ + "/below"), std::nullopt);
  EXPECT_FALSE(attrs.set(dir_ + "/files/NONE.CLW", 0));
  EXPECT_FALSE(attrs.set(dir_ + "/files/NONE.CLW", kAttrArchive));
  EXPECT_FALSE(hasStateRecords());
}

INSTANTIATE_TEST_SUITE_P(Stores, PosixFileAttributesTest,
                         ::testing::Values(Store::Automatic, Store::StateFolder),
                         [](const ::testing::TestParamInfo<Store>& p) {
                           return p.param == Store::Automatic ? "Automatic" : "StateFolder";
                         });

TEST_F(PosixFileAttributesTest, OtherBitsComeFromTheFileAndAreNeverWritten) {
  fs::create_directories(dir_ + "/files/.hidden");
  write(dir_ + "/files/.profile", "");
  write(dir_ + "/files/locked.clw", "");
  ASSERT_EQ(::chmod((dir_ + "/files/locked.clw").c_str(), 0444), 0);
  PosixFileAttributes attrs(env());
  struct Case {
    std::string path;
    std::uint32_t bits;  // archive aside
  };
  const Case cases[] = {
      {file_, 0},
      {dir_ + "/files", kAttrDirectory},
      {dir_ + "/files/", kAttrDirectory},
      {dir_ + "/files/.hidden", kAttrDirectory | kAttrHidden},
      {dir_ + "/files/.profile", kAttrHidden},
      {dir_ + "/files/.", kAttrDirectory},
      {dir_ + "/files/locked.clw", kAttrReadOnly},
  };
  for (const Case& c : cases)
    EXPECT_EQ(attrs.get(c.path).value_or(0xFFFF) & ~kAttrArchive, c.bits) << c.path;

  // Asking for read-only, hidden or system changes nothing on disk.
  ASSERT_TRUE(attrs.set(file_, kAttrReadOnly | kAttrHidden | kAttrSystem));
  EXPECT_EQ(statOf(file_).st_mode & 0200, 0200u);
  EXPECT_EQ(attrs.get(file_), 0u);
  ASSERT_TRUE(attrs.set(dir_ + "/files/locked.clw", kAttrArchive));
  EXPECT_EQ(attrs.get(dir_ + "/files/locked.clw"), kAttrReadOnly | kAttrArchive);
}

TEST_F(PosixFileAttributesTest, EitherStoreMayHoldTheLatestRecord) {
  if (!attributesWork()) GTEST_SKIP() << "no user extended attributes under " << dir_;
  PosixFileAttributes automatic(env());
  PosixFileAttributes stateOnly(env(), Store::StateFolder);
  ASSERT_TRUE(clear(automatic, file_));  // into the attribute
  write(file_, "PROGRAM\nCODE\n");
  ASSERT_TRUE(clear(stateOnly, file_));  // as when the attribute is refused
  EXPECT_TRUE(hasAttribute(file_)) << "the old record is still there";
  EXPECT_FALSE(archived(automatic, file_));
}

}  // namespace
}  // namespace tarn
