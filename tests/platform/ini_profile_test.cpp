#include "platform/ini_profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/fakes.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

class IniProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tarnlist-ini-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/win.ini";
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }

  void put(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string contents() { return test::readRealFile(path_).value_or("<missing>"); }
  std::vector<std::string> entries() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
    return names;
  }

  std::string dir_;
  std::string path_;
};

// CRLF line ends, a byte order mark, comments, blanks around names and '=',
// a line without '=', an entry before any section and a repeated section.
const char kSample[] =
    "\xEF\xBB\xBF"
    "orphan=1\r\n"
    "[Intl]\r\n"
    "  iDate = 2 \r\n"
    "sCountry=\xD6sterreich\r\n"
    "; iTime=1\r\n"
    "no equals sign here\r\n"
    "empty=\r\n"
    "  [ Tarnlist ]  \r\n"
    "File1=C:\\Quellen\\\xC4nderung.clw\r\n"
    "Odd Key==x=y\r\n"
    "[\xE4rger]\r\n"
    "k=lower\r\n"
    "[intl]\r\n"
    "iDate=0\r\n"
    "later=only in the repeat\r\n";

TEST_F(IniProfileTest, GetStringFindsEntriesAsWindowsDoes) {
  put(kSample);
  IniProfile profile(path_);
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"Intl", "iDate", "2"},
      {"INTL", "IDATE", "2"},
      {"intl", "sCountry", "\xD6sterreich"},          // value bytes unchanged
      {"Intl", "; iTime", "<none>"},                   // a comment is no entry
      {"Intl", "no equals sign here", "<none>"},
      {"Intl", "empty", ""},                           // present but empty
      {"Intl", "later", "<none>"},                     // only the first section counts
      {"Tarnlist", "file1", "C:\\Quellen\\\xC4nderung.clw"},
      {" Tarnlist ", "Odd Key", "=x=y"},
      {"\xC4RGER", "K", "lower"},                      // Windows-1252 letters ignore case
      {"", "orphan", "<none>"},
      {"Missing", "iDate", "<none>"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(profile.getString(c.section, c.key, "<none>"), c.expected)
        << "[" << c.section << "] " << c.key;
}

TEST_F(IniProfileTest, GetIntTakesTheLeadingNumber) {
  struct Case {
    const char* value;
    int expected;
  };
  const Case cases[] = {
      {"12", 12},         {"-7", -7},
      {"+3", 3},          {"42abc", 42},
      {"007", 7},         {"abc", -99},
      {"", -99},          {"-", -99},
      {"- 5", -99},       {"2147483647", INT_MAX},
      {"99999999999999999999", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-99999999999999999999", INT_MIN},
  };
  IniProfile profile(path_);
  for (const Case& c : cases) {
    put(std::string("[S]\nk= ") + c.value + "\n");
    EXPECT_EQ(profile.getInt("s", "K", -99), c.expected) << "value \"" << c.value << "\"";
  }
  EXPECT_EQ(profile.getInt("S", "absent", -99), -99);
}

TEST_F(IniProfileTest, WriteChangesOnlyItsOwnLine) {
  struct Case {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  };
  const Case cases[] = {
      {"replaces in place, keeping spelling, blanks and CRLF",
       "; top\r\n[Tarnlist]\r\n  FILE1 = old \r\nFile2=b\r\n[Other]\r\nx=1\r\n", "tarnlist",
       "File1", "new",
       "; top\r\n[Tarnlist]\r\n  FILE1 = new \r\nFile2=b\r\n[Other]\r\nx=1\r\n"},
      {"fills an empty value", "[S]\nk=\n", "S", "k", "v", "[S]\nk=v\n"},
      {"appends after the section's last entry, not after its trailing comment",
       "[A]\nx=1\n; about B\n\n[B]\ny=2\n", "A", "z", "3",
       "[A]\nx=1\nz=3\n; about B\n\n[B]\ny=2\n"},
      {"appends to an empty section", "[A]\n[B]\n", "a", "k", "v", "[A]\nk=v\n[B]\n"},
      {"appends in CRLF to a CRLF file", "[A]\r\nx=1\r\n", "A", "y", "2",
       "[A]\r\nx=1\r\ny=2\r\n"},
      {"ends an unterminated last line first", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
      {"adds a missing section at the end", "[A]\nx=1", "Tarnlist", "File1", "C:\\a.clw",
       "[A]\nx=1\n[Tarnlist]\nFile1=C:\\a.clw\n"},
      {"writes only into the first of repeated sections", "[A]\nx=1\n[A]\ny=2\n", "A", "y", "3",
       "[A]\nx=1\ny=3\n[A]\ny=2\n"},
      {"keeps Windows-1252 bytes", "", "S", "k", "\xE4\x80\xFF", "[S]\nk=\xE4\x80\xFF\n"},
  };
  IniProfile profile(path_);
  for (const Case& c : cases) {
    put(c.before);
    EXPECT_TRUE(profile.writeString(c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(contents(), c.after) << c.name;
    EXPECT_EQ(profile.getString(c.section, c.key, "<none>"), c.value) << c.name;
  }
  EXPECT_EQ(entries(), std::vector<std::string>{"win.ini"}) << "no temporary file left";
}

TEST_F(IniProfileTest, FirstWriteCreatesFileAndFolders) {
  std::string path = dir_ + "/a/b/win.ini";
  IniProfile profile(path);
  EXPECT_EQ(profile.getString("Tarnlist", "File1", "none"), "none");
  EXPECT_EQ(profile.getInt("Intl", "iDate", 100), 100);
  ASSERT_TRUE(profile.writeString("Tarnlist", "File1", "x.clw"));
  EXPECT_EQ(test::readRealFile(path), "[Tarnlist]\nFile1=x.clw\n");
}

TEST_F(IniProfileTest, EveryCallSeesTheFileAsItIsNow) {
  IniProfile profile(path_);
  put("[Intl]\niDate=1\n");
  EXPECT_EQ(profile.getInt("Intl", "iDate", 100), 1);
  put("[Intl]\niDate=2\n");
  EXPECT_EQ(profile.getInt("Intl", "iDate", 100), 2);
  ASSERT_TRUE(IniProfile(path_).writeString("Intl", "iDate", "0"));
  EXPECT_EQ(profile.getInt("Intl", "iDate", 100), 0);
}

TEST_F(IniProfileTest, RefusedWritesLeaveTheFileAsItWas) {
  const std::string before = "[S]\nk=v\n";
  put(before);
  IniProfile profile(path_);
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"S", "k", "two\nlines"}, {"S", "k", "cr\r"},  {"S", "a=b", "v"}, {"S", "", "v"},
      {"S", ";k", "v"},         {"S", "[k]", "v"},   {"a]b", "k", "v"}, {"", "k", "v"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(profile.writeString(c.section, c.key, c.value))
        << "[" << c.section << "] " << c.key;
    EXPECT_EQ(contents(), before);
  }
}

TEST_F(IniProfileTest, FailedWritesReportFalse) {
  // A folder where the file should be.
  fs::create_directories(dir_ + "/folder.ini/inner");
  EXPECT_FALSE(IniProfile(dir_ + "/folder.ini").writeString("S", "k", "v"));
  EXPECT_TRUE(fs::is_directory(dir_ + "/folder.ini/inner"));
  EXPECT_EQ(IniProfile(dir_ + "/folder.ini").getString("S", "k", "fb"), "fb");

  // A file where a folder should be.
  put("[S]\nk=v\n");
  EXPECT_FALSE(IniProfile(path_ + "/win.ini").writeString("S", "k", "v"));
  EXPECT_EQ(contents(), "[S]\nk=v\n");
}

TEST_F(IniProfileTest, ReadOnlyFileOrFolderKeepsTheOldFile) {
  put("[S]\nk=old\n");
  ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
  if (::access(path_.c_str(), W_OK) == 0) GTEST_SKIP() << "permissions do not bind this user";
  EXPECT_FALSE(IniProfile(path_).writeString("S", "k", "new")) << "read-only file";
  EXPECT_EQ(contents(), "[S]\nk=old\n");

  ASSERT_EQ(::chmod(path_.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 0555), 0);
  EXPECT_FALSE(IniProfile(path_).writeString("S", "k", "new")) << "read-only folder";
  EXPECT_EQ(contents(), "[S]\nk=old\n");
  EXPECT_EQ(entries(), std::vector<std::string>{"win.ini"});
}

TEST_F(IniProfileTest, ReplacingKeepsPermissionsAndSymbolicLinks) {
  put("[S]\nk=old\n");
  ASSERT_EQ(::chmod(path_.c_str(), 0640), 0);
  std::string link = dir_ + "/link.ini";
  fs::create_symlink(path_, link);
  ASSERT_TRUE(IniProfile(link).writeString("S", "k", "new"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(contents(), "[S]\nk=new\n");
  EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ProfilePath, EnvironmentChoosesTheFile) {
  auto from = [](std::map<std::string, std::string> vars) -> Environment {
    return [vars](const char* name) -> std::optional<std::string> {
      auto it = vars.find(name);
      if (it == vars.end()) return std::nullopt;
      return it->second;
    };
  };
  EXPECT_EQ(profilePath(from({{"TARNLIST_PROFILE", "/p/my.ini"}, {"HOME", "/h"}})), "/p/my.ini");
  EXPECT_EQ(profilePath(from({{"XDG_CONFIG_HOME", "/x"}, {"HOME", "/h"}})),
            "/x/tarnlist/win.ini");
  EXPECT_EQ(profilePath(from({{"HOME", "/h"}})), "/h/.config/tarnlist/win.ini");
}

}  // namespace
}  // namespace tarn
