#include "document/project_lookup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/project.h"
#include "support/fakes.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

// "name -> path" per file of the table, in table order.
Strings table(const ApplicationData& app) {
  Strings out;
  for (const ProjectFile& f : app.files) out.push_back(f.name + " -> " + f.path);
  return out;
}

TEST(ProjectLookupTest, ProgramFolderThenNamingFolderThenRedirectionThenIncludePath) {
  const std::string lib = "/opt/" + std::string(70, 'l');  // too long to be shown whole
  const std::string cut = ("../.." + lib + "/X.CLW").substr(0, kMaxProjectNameLength);
  // Where X.CLW exists, and its row in the table (empty: not listed).
  const struct { const char* what; Strings present; std::string shown; } cases[] = {
      {"everywhere", {"/w/app", "/w/app/sub", "/w/red", "/w/inc"}, "X.CLW -> /w/app/X.CLW"},
      {"naming folder", {"/w/app/sub", "/w/red", "/w/inc"}, "sub/X.CLW -> /w/app/sub/X.CLW"},
      {"redirection", {"/w/red", "/w/inc"}, "../red/X.CLW -> /w/red/X.CLW"},
      {"second redirection folder", {"/w/red2", "/w/inc"}, "../red2/X.CLW -> /w/red2/X.CLW"},
      {"include path", {"/w/inc", lib}, "../inc/X.CLW -> /w/inc/X.CLW"},
      {"last include folder, name cut", {lib}, cut + " -> " + lib + "/X.CLW"},
      {"nowhere", {}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::VirtualFileSystem fs;
    test::FakeFileAttributes attributes;
    fs.createDirectory("/w/app/sub");
    fs.create("/w/app/MAIN.CLW", "  INCLUDE('Sub\\Namer.clw')\n");
    fs.create("/w/app/sub/NAMER.CLW", "  INCLUDE('x')\n");
    fs.create("/w/app/Project.red", "[Release]\n*.CLW = ..\\red; ..\\red2\n");
    for (const std::string& folder : c.present) fs.create(folder + "/X.CLW", "InX PROCEDURE\n");
    const ProjectSearch search = projectSearch({"/w/inc"}, lib);
    ApplicationData app("/w/app/MAIN.CLW", fs, attributes, search);
    const Strings rows = table(app);
    EXPECT_EQ(rows.size(), c.shown.empty() ? 2u : 3u);
    EXPECT_TRUE(ApplicationData("/w/X.CLW", fs, attributes, search).files.empty())
        << "the PROGRAM file is only where it is named";
    if (c.shown.empty()) continue;
    EXPECT_NE(std::find(rows.begin(), rows.end(), c.shown), rows.end()) << testing::PrintToString(rows);
    // A procedure leads to the file it was found in, by name and path.
    ASSERT_EQ(app.procedureCount(), 1);
    EXPECT_EQ(app.procedures[0].fileName + " -> " + app.procedures[0].path, c.shown);
  }
}

TEST(ProjectLookupTest, OneFileOfTwoNamesIsReadOnceAndMissingNamesDependOnTheNamingFolder) {
  test::VirtualFileSystem fs;
  test::FakeFileAttributes attributes;
  // Y.CLW lies beside B only: A's name for it finds nothing, B's finds it.
  // SHARED.CLW is named from two folders by two names.
  fs.createDirectory("/w/app/sub");
  fs.createDirectory("/w/app/other");
  fs.create("/w/app/MAIN.CLW", "  INCLUDE('SUB\\A.CLW')\n  INCLUDE('OTHER\\B.CLW')\n"
                               "  INCLUDE('Y')\n  INCLUDE('Sub\\Shared')\n");
  fs.create("/w/app/sub/A.CLW", "  INCLUDE('Y.CLW')\n  INCLUDE('SHARED.CLW')\n");
  fs.create("/w/app/other/B.CLW", "  INCLUDE('Y.CLW')\n  INCLUDE('Y.CLW')\n");
  fs.create("/w/app/other/Y.CLW", "  INCLUDE('B.CLW')\n");
  fs.create("/w/app/sub/SHARED.CLW", "");
  ApplicationData app("/w/app/MAIN.CLW", fs, attributes);
  EXPECT_EQ(table(app), (Strings{"MAIN.CLW -> /w/app/MAIN.CLW", "other/Y.CLW -> /w/app/other/Y.CLW",
                                 "OTHER\\B.CLW -> /w/app/other/B.CLW",
                                 "sub/SHARED.CLW -> /w/app/sub/SHARED.CLW",
                                 "SUB\\A.CLW -> /w/app/sub/A.CLW"}));
  for (const std::string& path : fs.filesRead)
    EXPECT_EQ(std::count(fs.filesRead.begin(), fs.filesRead.end(), path), 1) << path;
}

TEST(ProjectLookupTest, IncludePathFromCommandLineThenProfile) {
  EXPECT_EQ(projectSearch({"/a:/b", "c", "::/e:"}, "/d; e f ;; ; ").includePath,
            (Strings{"/a", "/b", "c", "/e", "/d", "e f"}));
  // In the profile a colon belongs to the folder.
  EXPECT_EQ(projectSearch({}, "C:\\x;\\\\srv\\y").includePath, (Strings{"C:\\x", "\\\\srv\\y"}));
}

}  // namespace
}  // namespace tarn
