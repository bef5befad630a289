#include "document/redirection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

// "pattern=folder|folder" per entry, in order.
Strings entriesOf(std::string_view text, const std::optional<std::string>& base) {
  Strings out;
  for (const RedirectionEntry& e : parseRedirection(text, base)) {
    out.push_back(e.pattern + "=");
    for (const std::string& f : e.folders) out.back() += (&f == &e.folders[0] ? "" : "|") + f;
  }
  return out;
}

TEST(RedirectionTest, SectionsEntriesAndFolders) {
  const struct { const char* text; Strings expected; } cases[] = {
      {"[Common]\n*.clw = ..\\_classes; _classes; /opt/lib; \\\\srv\\share\n",
       {"*.clw=/w/_classes|/w/app/_classes|/opt/lib|/srv/share"}},
      // Windows line ends, blanks everywhere, section names in any case.
      {"  [ release ]  \r\n  *.INC=lib ;; sub\\deep\\ ;\r\n", {"*.INC=/w/app/lib|/w/app/sub/deep"}},
      {"[Debug]\n*.clw = dbg\n[Copy]\n*.dll = bin\n[COMMON]\n*.inc = inc\n", {"*.inc=/w/app/inc"}},
      {"[Common]\n*.clw = %ROOT%\\libsrc; _classes\n*.inc = %redDir%\\..\\inc\n", {"*.inc=/w/inc"}},
      {"[Common]\n{include %REDDIR%\\..\\common.red}\n-- a comment = x\n; x = y\n# z = w\n"
       "no equals sign\n = nameless\n*.equ =\n", {"*.equ="}},
      // Entries before any section, as older files have, count as common.
      {"*.clw = .\n[Release]\n*.clw = rel\n", {"*.clw=/w/app", "*.clw=/w/app/rel"}},
      {"[Common\n*.clw = x\n", {"*.clw=/w/app/x"}},  // no "]": the name runs to the end
  };
  for (const auto& c : cases) EXPECT_EQ(entriesOf(c.text, "/w/app"), c.expected) << c.text;
  // Without a folder the current one is the base.
  EXPECT_EQ(entriesOf("*.clw = ..\\lib; %REDDIR%\\x\n", std::nullopt), Strings{"*.clw=../lib|x"});
}

TEST(RedirectionTest, FilePatterns) {
  const struct { const char* pattern; const char* name; bool matches; } cases[] = {
      {"*.clw", "ZIPWORKER.CLW", true},  {"*.clw", "X.CLWX", false},      {"*.cl?", "A.CLN", true},
      {"*.cl?", "A.CL", false},          {"zip*.*", "ZIP.C", true},       {"*", "", true},
      {"", "A", false},                  {"a*b*c", "AXXBYBZC", true},     {"a*b*c", "AXXBYBZ", false},
      {"**.inc", "X.INC", true},         {"\xE9*", "\xC9T\xC9", true},  // accented, any case
  };
  for (const auto& c : cases)
    EXPECT_EQ(matchesFilePattern(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

TEST(RedirectionTest, EveryRedFileOfTheFolderInNameOrderWithFoldersAsOnDisk) {
  test::VirtualFileSystem fs;
  fs.createDirectory("/w");
  fs.createDirectory("/w/_Classes");
  fs.create("/w/app/b.RED", "[Common]\n*.clw = b1\n*.* = all\n");
  fs.create("/w/app/A.red", "[Common]\n*.clw = a1; ..\\_CLASSES; b1\n");
  fs.create("/w/app/c.red.bak", "[Common]\n*.clw = bak\n");
  fs.create("/w/app/red", "[Common]\n*.clw = bare\n");
  fs.createDirectory("/w/app/d.red");
  fs.create("/w/other.red", "[Common]\n*.clw = elsewhere\n");
  Redirections redirections(fs, std::string("/w/app"));
  EXPECT_EQ(redirections.foldersFor("X.CLW"),
            (Strings{"/w/app/a1", "/w/_Classes", "/w/app/b1", "/w/app/all"}));
  EXPECT_EQ(redirections.foldersFor("SUB\\X.INC"), Strings{"/w/app/all"}) << "the last part counts";
}

}  // namespace
}  // namespace tarn
