#include "document/project_lookup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "document/project.h"
#include "platform/cp1252.h"
#include "platform/posix/real_file_system.h"
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
  struct Case {
    const char* what;
    Strings present;   // where X.CLW exists
    std::string shown;  // its row in the table; empty: not listed
  };
  const Case cases[] = {
      {"everywhere", {"/w/app", "/w/app/sub", "/w/red", "/w/inc"}, "X.CLW -> /w/app/X.CLW"},
      {"naming folder", {"/w/app/sub", "/w/red", "/w/inc"}, "sub/X.CLW -> /w/app/sub/X.CLW"},
      {"redirection", {"/w/red", "/w/inc"}, "../red/X.CLW -> /w/red/X.CLW"},
      {"second redirection folder", {"/w/red2", "/w/inc"}, "../red2/X.CLW -> /w/red2/X.CLW"},
      {"include path", {"/w/inc", "/opt/lib"}, "../inc/X.CLW -> /w/inc/X.CLW"},
      {"last include folder", {"/opt/lib"}, "../../opt/lib/X.CLW -> /opt/lib/X.CLW"},
      {"nowhere", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::VirtualFileSystem fs;
    test::FakeFileAttributes attributes;
    fs.createDirectory("/w/app/sub");
    fs.create("/w/app/MAIN.CLW", "  INCLUDE('Sub\\Namer.clw')\n");
    fs.create("/w/app/sub/NAMER.CLW", "  INCLUDE('x')\n");
    fs.create("/w/app/Project.red", "[Release]\n*.CLW = ..\\red; ..\\red2\n");
    for (const std::string& folder : c.present)
      fs.create(folder + "/X.CLW", "InX PROCEDURE\n");
    ApplicationData app("/w/app/MAIN.CLW", fs, attributes,
                        projectSearch({"/w/inc"}, "/opt/lib"));
    Strings expected{"MAIN.CLW -> /w/app/MAIN.CLW", "SUB\\NAMER.CLW -> /w/app/sub/NAMER.CLW"};
    if (!c.shown.empty()) expected.push_back(c.shown);
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
      return cp1252::compareIgnoreCase(a, b) < 0;
    });
    EXPECT_EQ(table(app), expected);
    if (c.shown.empty()) continue;
    ASSERT_EQ(app.procedureCount(), 1);
    // A procedure leads to the file it was found in, by name and path.
    const std::string& row = c.shown;
    EXPECT_EQ(app.procedures[0].fileName, row.substr(0, row.find(" -> ")));
    EXPECT_EQ(app.procedures[0].path, row.substr(row.find(" -> ") + 4));
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

TEST(ProjectLookupTest, TheProgramFileIsOnlyWhereItIsNamed) {
  test::VirtualFileSystem fs;
  test::FakeFileAttributes attributes;
  fs.create("/inc/MAIN.CLW", "  PROGRAM\n");
  ApplicationData app("/w/MAIN.CLW", fs, attributes, projectSearch({"/inc"}, ""));
  EXPECT_TRUE(app.files.empty());
}

TEST(ProjectLookupTest, CutNamesKeepTheirPaths) {
  test::VirtualFileSystem fs;
  test::FakeFileAttributes attributes;
  const std::string deep = "/w/" + std::string(70, 'd');
  fs.create("/w/app/MAIN.CLW", "  INCLUDE('ZIPWORKER.CLW')\nZipWorker.Init PROCEDURE\n");
  fs.create(deep + "/ZipWorker.clw", "Init PROCEDURE\n");
  ApplicationData app("/w/app/MAIN.CLW", fs, attributes, projectSearch({deep}, ""));
  ASSERT_EQ(app.fileCount(), 2);
  const ProjectFile& far = app.files[0];
  const std::string shown = "../" + std::string(70, 'd') + "/ZIPWORKER.CLW";
  EXPECT_EQ(far.name, shown.substr(0, kMaxProjectNameLength));
  EXPECT_EQ(far.path, deep + "/ZipWorker.clw");
  ASSERT_EQ(app.procedureCount(), 2);
  EXPECT_EQ(app.procedures[0].path, deep + "/ZipWorker.clw");
}

TEST(ProjectLookupTest, RealFoldersAboveTheProgramFolder) {
  namespace fsys = std::filesystem;
  const fsys::path root =
      fsys::path(::testing::TempDir()) / ("tarn_project_lookup_" + std::to_string(::getpid()));
  fsys::remove_all(root);
  fsys::create_directories(root / "app");
  fsys::create_directories(root / "_Classes");
  auto write = [](const fsys::path& p, const std::string& text) { std::ofstream(p) << text; };
  write(root / "app" / "main.clw", "  PROGRAM\nZip CLASS,MODULE('zip.clw')\n  END\n");
  write(root / "app" / "build.RED", "[Common]\r\n*.clw = ..\\_classes\r\n");
  write(root / "_Classes" / "Zip.clw", "Zip.Run PROCEDURE\n");
  RealFileSystem fs;
  test::FakeFileAttributes attributes;
  ApplicationData app((root / "app" / "main.clw").string(), fs, attributes);
  ASSERT_EQ(app.fileCount(), 2);
  EXPECT_EQ(app.files[0].name, "../_Classes/ZIP.CLW");
  EXPECT_TRUE(fs.stat(app.files[0].path).isRegular) << app.files[0].path;
  fsys::remove_all(root);
}

TEST(ProjectLookupTest, IncludePathFromCommandLineThenProfile) {
  struct Case {
    Strings commandLine;
    const char* profile;
    Strings expected;
  };
  const Case cases[] = {
      {{}, "", {}},
      {{"/a:/b", "c"}, "/d; e f ;;", {"/a", "/b", "c", "/d", "e f"}},
      {{"::/a:"}, " ; ", {"/a"}},
      {{}, "C:\\x;\\\\srv\\y", {"C:\\x", "\\\\srv\\y"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(projectSearch(c.commandLine, c.profile).includePath, c.expected) << c.profile;
}

}  // namespace
}  // namespace tarn
