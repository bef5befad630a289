#include "settings/config_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <optional>

#include <unistd.h>

#include "platform/posix/real_file_system.h"
#include "support/fakes.h"

namespace tarn {
namespace {

constexpr const char* kPath = "/opt/tarnlist/tarnlist.DAT";

std::string fileWith(std::int32_t version, const SetupData& setup, std::size_t recordBytes = 546) {
  std::string bytes(4 + recordBytes, '\0');
  std::memcpy(bytes.data(), &version, 4);
  std::memcpy(bytes.data() + 4, &setup, recordBytes);
  return bytes;
}

bool sameBytes(const SetupData& a, const SetupData& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

/// A record in which every byte differs from the defaults but every value is valid.
SetupData patterned() {
  SetupData s;
  auto* bytes = reinterpret_cast<unsigned char*>(&s);
  for (std::size_t i = 0; i < sizeof s; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
  s.columns = 7;
  s.lineHeight = 150;
  s.tabWidth = 9;
  s.printMode = 3;
  s.headerText[99] = '\0';
  for (FontData* f : {&s.sourceFont, &s.reportFont, &s.windowFont}) f->logFont.faceName[31] = '\0';
  return s;
}

class ConfigFileTest : public ::testing::Test {
 protected:
  test::VirtualFileSystem fs;
  test::RecordingMessages messages;
};

TEST_F(ConfigFileTest, DefaultsWithoutAFile) {
  SetupData s = loadSetup(kPath, fs, messages);
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(+s.portrait, 0);
  EXPECT_EQ(+s.landscape, 1);
  EXPECT_EQ(+s.columns, 2);
  EXPECT_EQ(+s.lineHeight, 100);
  EXPECT_EQ(+s.tabWidth, 2);
  EXPECT_EQ(+s.unitPerPage, 1);
  EXPECT_EQ(+s.printMode, 1);
  EXPECT_EQ(+s.sourceFont.flags, 0x40u);
  EXPECT_EQ(s.headerText[0], '\0');
  EXPECT_EQ(+s.sourceFont.pointSize, 0);
  EXPECT_EQ(+s.reportFont.flags, 0u);
}

TEST_F(ConfigFileTest, InvalidFilesGiveOneMessageAndTheDefaults) {
  SetupData other = patterned();
  const std::pair<const char*, std::string> cases[] = {
      {"version 2", fileWith(2, other)},
      {"version 0", fileWith(0, other)},
      {"shorter than the version word", std::string("\x01\x00", 2)},
      {"empty", std::string()},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    messages.messages.clear();
    fs.create(kPath, bytes);
    SetupData s = loadSetup(kPath, fs, messages);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Configuration file is no longer valid. Default settings is used");
    EXPECT_EQ(messages.messages[0].caption, "Message");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
    SetupData expected = defaultSetupData();
    expected.sourceFont.flags = 0x40;
    EXPECT_TRUE(sameBytes(s, expected));
  }
}

TEST_F(ConfigFileTest, AFolderOrUnreadableFileIsSilent) {
  fs.createDirectory(kPath);
  EXPECT_EQ(+loadSetup(kPath, fs, messages).sourceFont.flags, 0x40u);
  fs.createUnreadable(kPath);
  EXPECT_EQ(+loadSetup(kPath, fs, messages).columns, 2);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ConfigFileTest, AShortFileOverwritesOnlyTheBytesItHas) {
  SetupData other = patterned();
  fs.create(kPath, fileWith(1, other, 16));  // emphasizeEmbeds .. lineHeight
  SetupData s = loadSetup(kPath, fs, messages);
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(std::memcmp(&s, &other, 16), 0);
  EXPECT_EQ(+s.tabWidth, 2);
  EXPECT_EQ(+s.printMode, 1);
  EXPECT_EQ(+s.sourceFont.flags, 0u) << "the file was valid, so no default flags";
}

TEST_F(ConfigFileTest, SaveThenLoadKeepsEveryByte) {
  SetupData original = patterned();
  std::memcpy(original.headerText, std::string(99, 'H').c_str(), 100);
  ASSERT_TRUE(saveSetup(kPath, original, fs, messages));
  const std::string& bytes = fs.files[kPath].contents;
  ASSERT_EQ(bytes.size(), 550u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x01\x00\x00\x00", 4));
  SetupData loaded = loadSetup(kPath, fs, messages);
  EXPECT_TRUE(sameBytes(loaded, original)) << "reserved word, unused font fields, styles 10 and 11";
  EXPECT_EQ(std::string(loaded.headerText), std::string(99, 'H'));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ConfigFileTest, LittleEndianImage) {
  SetupData s = defaultSetupData();
  s.columns = 4;
  s.tokenColor[3] = 0x00112233;
  std::string image = configFileImage(s);
  EXPECT_EQ(static_cast<unsigned char>(image[4 + 12]), s.columns);
  EXPECT_EQ(image.substr(4 + 386 + 12, 4), std::string("\x33\x22\x11\x00", 4));
  EXPECT_EQ(image.substr(4 + 434, 4), std::string("\x01\x00\x00\x00", 4)) << "printMode 1";
}

TEST_F(ConfigFileTest, DamagedValuesAreMadeSafe) {
  struct Case {
    const char* name;
    void (*damage)(SetupData&);
    void (*check)(const SetupData&);
  };
  const Case cases[] = {
      {"columns 0", [](SetupData& s) { s.columns = 0; }, [](const SetupData& s) { EXPECT_EQ(+s.columns, 1); }},
      {"columns 11", [](SetupData& s) { s.columns = 11; }, [](const SetupData& s) { EXPECT_EQ(+s.columns, 10); }},
      {"columns negative", [](SetupData& s) { s.columns = -2147483647 - 1; },
       [](const SetupData& s) { EXPECT_EQ(+s.columns, 1); }},
      {"line height 0", [](SetupData& s) { s.lineHeight = 0; },
       [](const SetupData& s) { EXPECT_EQ(+s.lineHeight, 80); }},
      {"line height 1000", [](SetupData& s) { s.lineHeight = 1000; },
       [](const SetupData& s) { EXPECT_EQ(+s.lineHeight, 200); }},
      {"tab width 0", [](SetupData& s) { s.tabWidth = 0; }, [](const SetupData& s) { EXPECT_EQ(+s.tabWidth, 1); }},
      {"tab width 60", [](SetupData& s) { s.tabWidth = 60; }, [](const SetupData& s) { EXPECT_EQ(+s.tabWidth, 50); }},
      {"header without NUL", [](SetupData& s) { std::memset(s.headerText, 'A', 100); },
       [](const SetupData& s) { EXPECT_EQ(std::string(s.headerText), std::string(99, 'A')); }},
      {"face name without NUL",
       [](SetupData& s) { std::memset(s.reportFont.logFont.faceName, 'F', 32); },
       [](const SetupData& s) { EXPECT_EQ(std::string(s.reportFont.logFont.faceName), std::string(31, 'F')); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetupData s = defaultSetupData();
    c.damage(s);
    fs.create(kPath, fileWith(1, s));
    SetupData loaded = loadSetup(kPath, fs, messages);
    c.check(loaded);
  }
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ConfigFileTest, AFailedSaveSaysSo) {
  fs.failWrites = true;
  EXPECT_FALSE(saveSetup(kPath, defaultSetupData(), fs, messages));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Error writing config file");
  EXPECT_EQ(messages.messages[0].caption, "Error");
}

TEST_F(ConfigFileTest, NoPlaceStartsFromTheDefaultsAndFailsToSave) {
  SetupData s = loadSetup("", fs, messages);
  EXPECT_EQ(+s.sourceFont.flags, 0x40u);
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_FALSE(saveSetup("", s, fs, messages));
  EXPECT_TRUE(fs.filesWritten.empty());
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Error writing config file");
}

FontData fontOf(const char* face, std::int32_t pointSize, std::uint32_t color) {
  FontData f;
  std::memset(&f, 0, sizeof f);
  std::strncpy(f.logFont.faceName, face, sizeof f.logFont.faceName - 1);
  f.logFont.weight = 400;
  f.pointSize = pointSize;
  f.color = color;
  return f;
}

void setHeader(SetupData& s, const char* text) {
  std::memset(s.headerText, 0, sizeof s.headerText);
  std::strncpy(s.headerText, text, sizeof s.headerText - 1);
}

bool sameFont(const FontData& a, const FontData& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST_F(ConfigFileTest, AtExitOnlyThisInstancesChangesGoOverTheFile) {
  struct Case {
    const char* name;
    void (*theirs)(SetupData&);  ///< what another instance saved while this one ran
    void (*mine)(SetupData&);
    void (*check)(const SetupData&);
  };
  const Case cases[] = {
      {"nothing changed here: their columns stay", [](SetupData& s) { s.columns = 5; },
       [](SetupData&) {}, [](const SetupData& s) { EXPECT_EQ(+s.columns, 5); }},
      {"both changes kept", [](SetupData& s) { s.columns = 5; }, [](SetupData& s) { s.tabWidth = 8; },
       [](const SetupData& s) {
         EXPECT_EQ(+s.columns, 5);
         EXPECT_EQ(+s.tabWidth, 8);
       }},
      {"the same field: the later exit wins", [](SetupData& s) { s.columns = 5; },
       [](SetupData& s) { s.columns = 3; }, [](const SetupData& s) { EXPECT_EQ(+s.columns, 3); }},
      {"a font goes whole; their other font survives",
       [](SetupData& s) {
         s.sourceFont.color = 0xFF0000;
         s.reportFont = fontOf("Times New Roman", 90, 0x0000FF);
       },
       [](SetupData& s) { s.sourceFont = fontOf("Arial", 120, 0); },
       [](const SetupData& s) {
         EXPECT_TRUE(sameFont(s.sourceFont, fontOf("Arial", 120, 0))) << "not Arial in their colour";
         EXPECT_TRUE(sameFont(s.reportFont, fontOf("Times New Roman", 90, 0x0000FF)));
       }},
      {"header text whole, not merged by the byte", [](SetupData& s) { setHeader(s, "Project Beta"); },
       [](SetupData& s) { setHeader(s, "Project Gamma"); },
       [](const SetupData& s) { EXPECT_EQ(std::string(s.headerText), "Project Gamma"); }},
      {"each style and colour entry on its own", [](SetupData& s) { s.tokenColor[1] = 0x0000FF; },
       [](SetupData& s) {
         s.tokenColor[4] = 0x00FF00;
         s.tokenStyle[4] = kStyleBold;
       },
       [](const SetupData& s) {
         EXPECT_EQ(+s.tokenColor[1], 0x0000FFu);
         EXPECT_EQ(+s.tokenColor[4], 0x00FF00u);
         EXPECT_EQ(+s.tokenStyle[4], kStyleBold);
       }},
  };
  SetupData base = defaultSetupData();
  base.sourceFont = fontOf("Courier New", 100, 0);
  setHeader(base, "Project Alpha");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs.create(kPath, configFileImage(base));
    const SetupData loaded = loadSetup(kPath, fs, messages);
    SetupData theirs = loaded;
    c.theirs(theirs);
    fs.create(kPath, configFileImage(theirs));
    SetupData now = loaded;
    c.mine(now);
    ASSERT_TRUE(saveSetupChanges(kPath, loaded, now, fs, messages));
    c.check(loadSetup(kPath, fs, messages));
  }
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ConfigFileTest, AtExitAFileThatCannotBeMergedWithIsWrittenWhole) {
  struct Case {
    const char* name;
    std::optional<std::string> file;
    bool failWrites;
    bool saved;
  };
  SetupData theirs = defaultSetupData();
  theirs.columns = 5;
  const Case cases[] = {
      {"missing: created", std::nullopt, false, true},
      {"not a configuration file: replaced silently", fileWith(2, theirs), false, true},
      {"write fails: said so, file kept", configFileImage(theirs), true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::VirtualFileSystem disk;
    test::RecordingMessages shown;
    if (c.file) disk.create(kPath, *c.file);
    disk.failWrites = c.failWrites;
    const SetupData loaded = loadSetup("", disk, shown);
    SetupData now = loaded;
    now.tabWidth = 8;
    EXPECT_EQ(saveSetupChanges(kPath, loaded, now, disk, shown), c.saved);
    if (c.saved) {
      EXPECT_EQ(disk.files[kPath].contents, configFileImage(now));
      EXPECT_TRUE(shown.messages.empty());
    } else {
      EXPECT_EQ(disk.files[kPath].contents, *c.file);
      ASSERT_EQ(shown.messages.size(), 1u);
      EXPECT_EQ(shown.messages[0].text, "Error writing config file");
    }
  }
}

TEST(ConfigFilePath, WhereTheFileLives) {
  struct Case {
    const char* name;
    std::string program;
    std::map<std::string, std::string> env;
    bool writable;
    std::string expected;
  };
  const Case cases[] = {
      {"named by the environment", "/opt/t/tarnlist", {{"TARNLIST_CONFIG", "/tmp/x.dat"}}, true, "/tmp/x.dat"},
      {"extension replaced", "/opt/t/TARNLIST.EXE", {}, true, "/opt/t/TARNLIST.DAT"},
      {"no extension: appended", "/opt/t/tarnlist", {}, true, "/opt/t/tarnlist.DAT"},
      {"a dot in a folder is no extension", "/opt/t.v2/tarnlist", {}, true, "/opt/t.v2/tarnlist.DAT"},
      {"read-only folder: user config", "/usr/bin/tarnlist", {{"XDG_CONFIG_HOME", "/home/u/cfg"}}, false,
       "/home/u/cfg/tarnlist/tarnlist.DAT"},
      {"read-only folder without XDG", "/usr/bin/tarnlist", {{"HOME", "/home/u"}}, false,
       "/home/u/.config/tarnlist/tarnlist.DAT"},
      {"a relative XDG folder is ignored", "/usr/bin/tarnlist",
       {{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/u"}}, false, "/home/u/.config/tarnlist/tarnlist.DAT"},
      {"no home at all: no place, not the current folder", "/usr/bin/tarnlist", {}, false, ""},
      {"only relative folders: no place", "/usr/bin/tarnlist", {{"XDG_CONFIG_HOME", "."}, {"HOME", "u"}},
       false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::VirtualFileSystem fs;
    fs.writableDirectories = c.writable;
    auto env = [&c](const char* name) -> std::optional<std::string> {
      auto it = c.env.find(name);
      if (it == c.env.end()) return std::nullopt;
      return it->second;
    };
    EXPECT_EQ(configFilePath(c.program, fs, env), c.expected);
  }
}

TEST(ConfigFileOnDisk, FirstRunCreatesTheFileAndASecondRunReadsIt) {
  auto dir = std::filesystem::temp_directory_path() / ("tarnlist-config-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string path = (dir / "sub" / "tarnlist.DAT").string();
  RealFileSystem fs;
  test::RecordingMessages messages;
  SetupData first = loadSetup(path, fs, messages);
  first.columns = 4;
  ASSERT_TRUE(saveSetup(path, first, fs, messages));
  EXPECT_EQ(std::filesystem::file_size(path), 550u);
  SetupData second = loadSetup(path, fs, messages);
  EXPECT_TRUE(sameBytes(first, second));
  EXPECT_EQ(+second.sourceFont.flags, 0x40u) << "carried from the first run's defaults";
  EXPECT_TRUE(messages.messages.empty());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tarn
