#include "desktop/help_location.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fakes.h"

namespace tarn {
namespace {

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
  EXPECT_EQ(helpPagePath("/opt/tarn list/bin/tarnlist"), "/opt/tarn list/bin/quorlo.html");
  EXPECT_EQ(helpPagePath("/tarnlist"), "/quorlo.html");
  EXPECT_EQ(helpPagePath("tarnlist"), (std::filesystem::current_path() / "quorlo.html").string())
      << "a relative program path is made absolute";
}

// Every section the program opens must exist in the page.
TEST(HelpLocation, PageHasEverySection) {
  auto page = test::readRealFile(std::string(TARNLIST_TEST_DATA_DIR) + "/../../help/quorlo.html");
  ASSERT_TRUE(page);
  for (int context : {kHelpContents, kHelpSetup, kHelpUsingHelp})
    EXPECT_NE(page->find("id=\"" + std::string(helpAnchor(context)) + "\""), std::string::npos)
        << helpAnchor(context);
}

}  // namespace
}  // namespace tarn
