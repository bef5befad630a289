#include "document/redirection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

// "pattern=folder|folder" per entry, in order.
Strings entriesOf(const std::vector<RedirectionEntry>& entries) {
  Strings out;
  for (const RedirectionEntry& e : entries) {
    std::string line = e.pattern + "=";
    for (std::size_t i = 0; i < e.folders.size(); ++i) line += (i ? "|" : "") + e.folders[i];
    out.push_back(line);
  }
  return out;
}

TEST(RedirectionTest, SectionsEntriesAndFolders) {
  struct Case {
    const char* text;
    Strings expected;
  };
  const Case cases[] = {
      {"[Common]\n*.clw = ..\\_classes; _classes\n", {"*.clw=/w/_classes|/w/app/_classes"}},
      // Windows line ends, blanks everywhere, section names in any case.
      {"  [ release ]  \r\n  *.INC=lib ;; sub\\deep\\ ;\r\n", {"*.INC=/w/app/lib|/w/app/sub/deep"}},
      {"[Debug]\n*.clw = dbg\n[Copy]\n*.dll = bin\n[COMMON]\n*.inc = inc\n", {"*.inc=/w/app/inc"}},
      {"[Common]\n*.clw = /opt/clarion/libsrc; \\\\srv\\share\n",
       {"*.clw=/opt/clarion/libsrc|/srv/share"}},
      {"[Common]\n*.clw = %ROOT%\\libsrc\\win; _classes\n*.inc = %redDir%\\..\\inc\n",
       {"*.inc=/w/inc"}},
      {"[Common]\n{include %REDDIR%\\..\\common.red}\n-- a comment = x\n; x = y\n# z = w\n"
       "no equals sign\n = nameless\n*.equ =\n",
       {"*.equ="}},
      // Entries before any section, as older files have, count as common.
      {"*.clw = .\n[Release]\n*.clw = rel\n", {"*.clw=/w/app", "*.clw=/w/app/rel"}},
      {"[Common\n*.clw = x\n", {"*.clw=/w/app/x"}},  // no "]": the name runs to the end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(entriesOf(parseRedirection(c.text, std::string("/w/app"))), c.expected);
  }
  // Without a folder the current one is the base.
  EXPECT_EQ(entriesOf(parseRedirection("*.clw = ..\\lib; %REDDIR%\\x\n", std::nullopt)),
            Strings{"*.clw=../lib|x"});
}

TEST(RedirectionTest, FilePatterns) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*.clw", "ZIPWORKER.CLW", true},  {"*.CLW", "zipworker.clw", true},
      {"*.clw", "ZIPWORKER.INC", false}, {"*.clw", "X.CLWX", false},
      {"*.cl?", "A.CLN", true},          {"*.cl?", "A.CL", false},
      {"zip*.*", "ZIP.C", true},         {"*", "", true},
      {"", "A", false},                  {"a*b*c", "AXXBYBZC", true},
      {"a*b*c", "AXXBYBZ", false},       {"\xE9*", "\xC9T\xC9", true},  // accented, any case
      {"*.tp?", "ABC.TPW", true},        {"**.inc", "X.INC", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(matchesFilePattern(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

TEST(RedirectionTest, EveryRedFileOfTheFolderInNameOrder) {
  test::VirtualFileSystem fs;
  fs.create("/w/app/b.RED", "[Common]\n*.clw = b1\n*.* = all\n");
  fs.create("/w/app/A.red", "[Common]\n*.clw = a1; b1\n");
  fs.create("/w/app/c.red.bak", "[Common]\n*.clw = bak\n");
  fs.create("/w/app/red", "[Common]\n*.clw = bare\n");
  fs.createDirectory("/w/app/d.red");
  fs.create("/w/other.red", "[Common]\n*.clw = elsewhere\n");
  Redirections redirections(fs, std::string("/w/app"));
  EXPECT_EQ(redirections.foldersFor("X.CLW"), (Strings{"/w/app/a1", "/w/app/b1", "/w/app/all"}));
  EXPECT_EQ(redirections.foldersFor("SUB\\X.INC"), Strings{"/w/app/all"}) << "the last part counts";
}

TEST(RedirectionTest, FoldersAreFoundIgnoringCase) {
  test::VirtualFileSystem fs;
  fs.createDirectory("/w");
  fs.createDirectory("/w/app");
  fs.createDirectory("/w/_Classes");
  fs.create("/w/app/project.red", "[Common]\n*.clw = ..\\_CLASSES; ..\\nowhere\n");
  Redirections redirections(fs, std::string("/w/app"));
  EXPECT_EQ(redirections.foldersFor("X.CLW"), (Strings{"/w/_Classes", "/w/nowhere"}));
}

}  // namespace
}  // namespace tarn
