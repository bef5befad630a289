#include "document/source_document.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "analysis/analysis_error.h"
#include "platform/posix/real_file_system.h"
#include "support/fakes.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

class SourceDocumentTest : public ::testing::Test {
 protected:
  std::unique_ptr<TFileDataSource> load(const std::string& path) {
    return loadDocument(path, AnalyseOptions{}, fs, messages);
  }
  test::VirtualFileSystem fs;
  test::RecordingMessages messages;
};

TEST_F(SourceDocumentTest, ClarionOrPlainByTheName) {
  const std::pair<const char*, bool> cases[] = {
      {"/p/MAIN.CLW", true}, {"/p/main.clw", true}, {"/p/x.inc", true}, {"/p/x.Inc", true},
      {"/p/x.in", false},    {"/p/x.CL", false},    {"/p/x.TXT", false}, {"/p/CLW", false},
      {".inc", true},        {"inc", false},
  };
  for (auto [path, clarion] : cases) {
    EXPECT_EQ(isClarionPath(path), clarion) << path;
    fs.create(path, "A PROCEDURE\n  CODE\n");
    auto doc = load(path);
    ASSERT_TRUE(doc) << path;
    EXPECT_EQ(doc->isClarion, clarion) << path;
    EXPECT_EQ(doc->blocks.size(), clarion ? 1u : 0u) << path;
  }
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SourceDocumentTest, FilesThatCannotBeReadGiveOneMessage) {
  fs.createDirectory("/p/folder.clw");
  fs.createUnreadable("/p/secret.clw");
  const std::string cases[] = {"/p/missing.clw", "/p/folder.clw", "/p/secret.clw", "",
                               "/p/" + std::string(497, 'x')};
  for (const std::string& path : cases) {
    messages.messages.clear();
    EXPECT_FALSE(load(path)) << path;
    ASSERT_EQ(messages.messages.size(), 1u) << path;
    EXPECT_EQ(messages.messages[0].text, "Unable to open file\n" + path);
    EXPECT_EQ(messages.messages[0].caption, "File Error");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
  }
}

// A file cut short by a NUL loads, and says once where its text ends.
TEST_F(SourceDocumentTest, ANulByteIsSaidOnce) {
  using namespace std::string_literals;
  const std::pair<std::string, Strings> cases[] = {
      {"A PROCEDURE\n  CODE\n  x\0y\0\n"s,
       {"Tarnlist for Clarion: The file contains a NUL byte at line 3; text after it is not "
        "shown or printed"}},
      {"\0"s, {"Tarnlist for Clarion: The file contains a NUL byte at line 1; text after it is "
                "not shown or printed"}},
      {"A PROCEDURE\n"s, {}},
  };
  for (const auto& [text, said] : cases) {
    messages.messages.clear();
    fs.create("/p/NUL.CLW", text);
    EXPECT_TRUE(load("/p/NUL.CLW"));
    Strings got;
    for (const auto& m : messages.messages) got.push_back(m.caption + ": " + m.text);
    EXPECT_EQ(got, said);
  }
}

TEST_F(SourceDocumentTest, PathsUpToTheLimitLoad) {
  std::string path = "/" + std::string(kMaxDocumentPath - 5, 'x') + ".clw";
  ASSERT_EQ(path.size(), kMaxDocumentPath);
  fs.create(path, "");
  auto doc = load(path);
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->path, path);
  fs.create(path + "x", "");
  EXPECT_FALSE(load(path + "x")) << "never cut into another file's path";
  EXPECT_EQ(fs.filesRead.size(), 1u) << "a refused path is not read";
}

TEST_F(SourceDocumentTest, EmptyFile) {
  fs.create("/p/E.CLW", "");
  auto doc = load("/p/E.CLW");
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->tokens->count(), 0);
  EXPECT_TRUE(doc->blocks.empty());
  EXPECT_TRUE(doc->embeds.empty());
}

TEST_F(SourceDocumentTest, TwentyMegabyteFileLoadsWhole) {
  auto fileOf = [](int lines) {
    std::string s = "A PROCEDURE\r\n  CODE\r\n";
    for (int i = 0; i < lines; ++i) s += "  X += 1 ! step\r\n";
    return s + "  LAST = 2\r\n";
  };
  auto tokensOf = [&](int lines) {
    fs.create("/p/S.CLW", fileOf(lines));
    return load("/p/S.CLW")->tokens->count();
  };
  const int perLine = tokensOf(2) - tokensOf(1);
  const int lines = 20'000'000 / 17 + 1;
  fs.chunkSize = 65536;
  fs.create("/p/BIG.CLW", fileOf(lines));
  ASSERT_GT(fs.files["/p/BIG.CLW"].contents.size(), 20'000'000u);
  auto doc = load("/p/BIG.CLW");
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->tokens->count(), tokensOf(1) + (lines - 1) * perLine);
  const TToken* t = doc->tokens->back();
  while (t && t->view() != "LAST") t = t->previous();
  ASSERT_TRUE(t) << "the last line is lost";
  EXPECT_EQ(t->line, lines + 3);
}

TEST_F(SourceDocumentTest, Utf8SplitAcrossReadsIsConverted) {
  const std::string utf8 = "\xEF\xBB\xBF! caf\xC3\xA9 \xE2\x82\xAC\nA PROCEDURE\n";
  for (std::size_t chunk : {1u, 2u, 3u, 5u, 7u}) {
    fs.chunkSize = chunk;
    fs.create("/p/U.CLW", utf8);
    auto doc = load("/p/U.CLW");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->tokens->front()->view(), "! caf\xE9 \x80\n") << "chunks of " << chunk;
  }
}

TEST_F(SourceDocumentTest, TwoLoadsAreIndependent) {
  fs.create("/p/A.CLW", "A PROCEDURE\n");
  auto first = load("/p/A.CLW");
  auto second = load("/p/A.CLW");
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->tokens.get(), second->tokens.get());
  EXPECT_EQ(first->blocks[0]->view(), second->blocks[0]->view());
  EXPECT_NE(first->blocks[0], second->blocks[0]);
}

TEST_F(SourceDocumentTest, AnalysisErrorsTravelToTheCaller) {
  fs.create("/p/BAD.CLW", "  END\n  x\n");
  EXPECT_THROW(load("/p/BAD.CLW"), AnalysisError);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SourceDocumentTest, StampIsTheLocalLastWriteTime) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  fs.create("/p/T.CLW", "x", 983783220);  // 2001-03-05 09:07:00 UTC
  auto doc = load("/p/T.CLW");
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->stamp.year(), 2001);
  EXPECT_EQ(doc->stamp.month(), 3);
  EXPECT_EQ(doc->stamp.day(), 5);
  EXPECT_EQ(doc->stamp.hour(), 9);
  EXPECT_EQ(doc->stamp.minute(), 7);
}

TEST(SourceDocumentOnDisk, RealFilesAndFolders) {
  auto dir = std::filesystem::temp_directory_path() / ("tarnlist-doc-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "sub.clw");
  std::ofstream(dir / "Main.clw") << "  PROGRAM\r\n  CODE\r\n";
  RealFileSystem fs;
  test::RecordingMessages messages;
  auto doc = loadDocument((dir / "Main.clw").string(), AnalyseOptions{}, fs, messages);
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->blocks.size(), 1u);
  EXPECT_FALSE(loadDocument((dir / "sub.clw").string(), AnalyseOptions{}, fs, messages));
  EXPECT_FALSE(loadDocument((dir / "none.clw").string(), AnalyseOptions{}, fs, messages));
  if (::geteuid() != 0) {
    std::ofstream(dir / "locked.clw") << "x";
    ::chmod((dir / "locked.clw").c_str(), 0);
    EXPECT_FALSE(loadDocument((dir / "locked.clw").string(), AnalyseOptions{}, fs, messages));
  }
  EXPECT_EQ(messages.messages.size(), ::geteuid() != 0 ? 3u : 2u);
  std::filesystem::remove_all(dir);
}

TEST(SourceDocumentCorpus, EveryRealFileLoads) {
  std::string root = test::corpusDir();
  if (root.empty()) GTEST_SKIP() << "the Clarion corpus is not on this machine";
  RealFileSystem fs;
  test::RecordingMessages messages;
  int loaded = 0;
  for (auto& e : std::filesystem::recursive_directory_iterator(root)) {
    if (!e.is_regular_file()) continue;
    std::string path = e.path().string();
    try {
      auto doc = loadDocument(path, AnalyseOptions{}, fs, messages);
      ASSERT_TRUE(doc) << path;
      ++loaded;
    } catch (const AnalysisError& err) {
      ADD_FAILURE() << path << ": " << err.what();
    }
  }
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_GT(loaded, 60);
}

}  // namespace
}  // namespace tarn
