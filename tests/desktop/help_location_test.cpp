#include "desktop/help_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/fakes.h"

namespace tarn {
namespace {

using test::VirtualFileSystem;

struct UrlCase {
  const char* name;
  std::string page;
  int context;
  std::string url;
};

const UrlCase kUrlCases[] = {
    {"Setup", "/opt/tarnlist/quorlo.html", kHelpSetup, "file:///opt/tarnlist/quorlo.html#setup"},
    {"UsingHelp", "/opt/quorlo.html", kHelpUsingHelp, "file:///opt/quorlo.html#using-help"},
    {"UnknownContext", "/opt/quorlo.html", 77, "file:///opt/quorlo.html#contents"},
    {"Blanks", "/home/ann/my tools/quorlo.html", kHelpSetup,
     "file:///home/ann/my%20tools/quorlo.html#setup"},
    // Characters that would end the path or start an escape of their own.
    {"UrlSyntax", "/a#b/c?d/50%/e+f;g:h/quorlo.html", kHelpContents,
     "file:///a%23b/c%3Fd/50%25/e%2Bf%3Bg%3Ah/quorlo.html#contents"},
    {"NonAsciiBytes", "/home/J\xC3\xB6rg/Pr\xF8ve/quorlo.html", kHelpContents,
     "file:///home/J%C3%B6rg/Pr%F8ve/quorlo.html#contents"},
};

TEST(HelpLocation, UrlOfTheSection) {
  for (const auto& c : kUrlCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(helpUrl(c.page, c.context), c.url);
  }
}

TEST(HelpLocation, PageBesideTheProgram) {
  VirtualFileSystem none;
  EXPECT_EQ(helpPagePath("/opt/tarn list/bin/tarnlist", none), "/opt/tarn list/bin/quorlo.html");
  EXPECT_EQ(helpPagePath("/tarnlist", none), "/quorlo.html");
  EXPECT_EQ(helpPagePath("tarnlist", none),
            (std::filesystem::current_path() / "quorlo.html").string())
      << "a relative program path is made absolute";
}

struct PageCase {
  const char* name;
  std::vector<std::string> pages;  ///< help pages that exist
  std::string program;
  std::string found;
};

const PageCase kPageCases[] = {
    {"BuildTree", {"/src/build/quorlo.html"}, "/src/build/tarnlist", "/src/build/quorlo.html"},
    {"Installed", {"/usr/share/tarnlist/quorlo.html"}, "/usr/bin/tarnlist",
     "/usr/share/tarnlist/quorlo.html"},
    {"OtherPrefix", {"/home/ann/.local/share/tarnlist/quorlo.html"},
     "/home/ann/.local/bin/tarnlist", "/home/ann/.local/share/tarnlist/quorlo.html"},
    {"BesideWinsOverShared", {"/opt/t/bin/quorlo.html", "/opt/t/share/tarnlist/quorlo.html"},
     "/opt/t/bin/tarnlist", "/opt/t/bin/quorlo.html"},
    // Not found anywhere: the path beside the program, which the message names.
    {"NowhereFound", {}, "/usr/bin/tarnlist", "/usr/bin/quorlo.html"},
    {"SharedFolderWithoutThePage", {"/usr/share/tarnlist/other.html"}, "/usr/bin/tarnlist",
     "/usr/bin/quorlo.html"},
    {"ProgramAtTheRoot", {"/share/tarnlist/quorlo.html"}, "/tarnlist",
     "/share/tarnlist/quorlo.html"},
};

TEST(HelpLocation, PageOfABuiltOrInstalledProgram) {
  for (const auto& c : kPageCases) {
    SCOPED_TRACE(c.name);
    VirtualFileSystem fs;
    for (const auto& page : c.pages) fs.create(page, "<html></html>");
    // A folder of the page's name is not the page.
    fs.createDirectory("/usr/bin/quorlo.html");
    EXPECT_EQ(helpPagePath(c.program, fs), c.found);
  }
}

// Every section the program opens must exist in the page.
TEST(HelpLocation, PageHasEverySection) {
  auto page = test::readRealFile(std::string(TARNLIST_TEST_DATA_DIR) + "/../../help/quorlo.html");
  ASSERT_TRUE(page);
  for (int context : {kHelpContents, kHelpSetup, kHelpListingExtras, kHelpFileWindow,
                      kHelpProjectWindow, kHelpPrinting, kHelpWindowFont, kHelpUsingHelp})
    EXPECT_NE(page->find("id=\"" + std::string(helpAnchor(context)) + "\""), std::string::npos)
        << helpAnchor(context);
}

}  // namespace
}  // namespace tarn
