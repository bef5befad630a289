// Randomly generated projects: include graphs with cycles, self-includes and
// missing files, mixed with junk lines. Loading must end (this suite also runs
// under the sanitizers) with a table that lists each existing file at most
// once and procedures that point into it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "document/project.h"
#include "platform/cp1252.h"
#include "platform/paths.h"
#include "support/fakes.h"

namespace tarn {
namespace {

std::string randomCase(std::mt19937& rng, std::string text) {
  for (char& c : text)
    if (rng() % 2) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string randomLine(std::mt19937& rng, int fileCount) {
  std::string target = "F" + std::to_string(rng() % (fileCount + 3));  // some never exist
  std::string pad(rng() % 3 == 0 ? rng() % 300 : rng() % 4, rng() % 2 ? ' ' : '\t');
  switch (rng() % 16) {
    case 0:
      return pad + " INCLUDE('" + randomCase(rng, target + ".CLW") + "'),ONCE";
    case 1:
      return pad + " MODULE('" + randomCase(rng, target) + "')";
    case 2:
      return " MODULE('" + target;  // unbalanced quote
    case 3:
      return " INCLUDE(''),ONCE";  // empty name
    case 4:
      return "!  INCLUDE('" + target + ".CLW')";  // comment
    case 5:
      return " MAP";
    case 6:
      return " END";
    case 7:
      return "Obj" + std::to_string(rng() % 9) + " CLASS,TYPE";
    case 8:
      return "Proc" + std::to_string(rng() % 50) + pad + " PROCEDURE(LONG x)";
    case 9:
      return std::string(rng() % 400, 'L') + " FUNCTION";
    case 10:
      return "  x = y ! " + std::string(rng() % 500, '-');
    case 11:
      return "Label ROUTINE";
    case 12:
      return std::string(1, static_cast<char>(rng() % 256)) + " INCLUDE('" + target + "')";
    case 13: {
      std::string junk(rng() % 80, '\0');
      for (char& c : junk) c = static_cast<char>(rng() % 256);
      return junk;
    }
    case 14:
      return "";
    default:
      return "  INCLUDE('MAIN.CLW')";
  }
}

// Lines of a file as the loader counts them.
int lineCount(const std::string& text) {
  std::string_view seen(text.data(), std::min(text.size(), text.find('\x1A')));
  int n = static_cast<int>(std::count(seen.begin(), seen.end(), '\n'));
  return n + (!seen.empty() && seen.back() != '\n' ? 1 : 0);
}

TEST(ProjectFuzzTest, RandomProjectsLoadSoundly) {
  std::mt19937 rng(20240229);
  std::size_t filesListed = 0, filesOnDisk = 0, proceduresListed = 0;
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    test::VirtualFileSystem fs;
    test::FakeFileAttributes attributes;
    fs.chunkSize = 1 + rng() % 64;
    int fileCount = 1 + static_cast<int>(rng() % 40);
    std::vector<std::string> paths;
    for (int f = 0; f < fileCount; ++f) {
      std::string text;
      int lines = static_cast<int>(rng() % 60);
      for (int l = 0; l < lines; ++l) {
        text += randomLine(rng, fileCount);
        text += rng() % 10 == 0 ? "\r\n" : "\n";
      }
      if (rng() % 3 == 0) text += randomLine(rng, fileCount);  // no final line end
      std::string name = f == 0 ? "MAIN.CLW" : randomCase(rng, "F" + std::to_string(f) + ".CLW");
      paths.push_back("/p/" + name);
      fs.create(paths.back(), text);
    }
    if (rng() % 4 == 0) fs.createDirectory("/p/F" + std::to_string(fileCount) + ".CLW");

    ApplicationData app("/p/MAIN.CLW", fs, attributes);
    filesListed += app.files.size();
    filesOnDisk += paths.size();
    proceduresListed += app.procedures.size();

    ASSERT_FALSE(app.files.empty());
    EXPECT_EQ(app.depth, 0);
    std::set<std::string> names;
    for (const ProjectFile& file : app.files) {
      EXPECT_TRUE(names.insert(file.name).second) << file.name;
      std::string path = resolvePath(fs, std::string("/p"), file.name);
      ASSERT_TRUE(fs.stat(path).isRegular) << file.name;
      EXPECT_EQ(file.path, path);
    }
    for (const std::string& path : paths)
      EXPECT_LE(std::count(fs.filesRead.begin(), fs.filesRead.end(), path), 1) << path;
    EXPECT_TRUE(
        std::is_sorted(app.files.begin(), app.files.end(), [](const auto& a, const auto& b) {
          return cp1252::compareIgnoreCase(a.name, b.name) < 0;
        }));
    EXPECT_TRUE(std::is_sorted(app.procedures.begin(), app.procedures.end(),
                               [](const auto& a, const auto& b) {
                                 return cp1252::compareIgnoreCase(a.label, b.label) < 0;
                               }));
    for (const ProjectProcedure& proc : app.procedures) {
      ASSERT_TRUE(names.count(proc.fileName)) << proc.fileName;
      EXPECT_LE(proc.label.size(), kMaxProjectLabelLength);
      std::string path = resolvePath(fs, std::string("/p"), proc.fileName);
      EXPECT_EQ(proc.path, path);
      EXPECT_GE(proc.line, 1);
      EXPECT_LE(proc.line, lineCount(fs.files[path].contents)) << proc.label;
    }
  }
  // The generated graphs reach most of their files.
  EXPECT_GT(filesListed * 2, filesOnDisk);
  EXPECT_GT(proceduresListed, 300u);
}

}  // namespace
}  // namespace tarn
