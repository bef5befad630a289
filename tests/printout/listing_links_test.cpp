#include "printout/listing_links.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace tarn {
namespace {

/// "text@line -> line" for every token that links; "-> -" for none asked about.
std::string linksOf(const TFileDataSource& doc, const ListingLinks& links) {
  std::string out;
  for (const TToken* t = doc.tokens->front(); t; t = t->next())
    if (const LinkTarget* target = links.targetOf(t))
      out += std::string(t->view()) + "@" + std::to_string(t->line - doc.lineShift) + "->" +
             std::to_string(target->file) + ":" + std::to_string(target->line) + " ";
  return out;
}

std::unique_ptr<TFileDataSource> load(const std::string& text, bool precedingComment = false) {
  static test::VirtualFileSystem fs;
  static test::RecordingMessages messages;
  fs.create("/p/T.CLW", text);
  SetupData setup = defaultSetupData();
  setup.includePrecedingComment = precedingComment ? 1 : 0;
  return loadDocument("/p/T.CLW", analysisOptions(setup), fs, messages);
}

TEST(ListingLinksTest, NamesLeadToTheirOwnDefinitionOnly) {
  struct Case {
    const char* name;
    const char* source;
    const char* links;
  };
  const Case cases[] = {
      {"routine of the same procedure, any case; the definition is no link",
       "Main PROCEDURE\n  CODE\n  DO refreshtitle\nRefreshTitle ROUTINE\n  x = 1\n",
       "refreshtitle@3->0:4 "},
      {"a routine name defined in two procedures leads to each one's own",
       "A PROCEDURE\n  CODE\n  DO R\nR ROUTINE\nB PROCEDURE\n  CODE\n  DO R\nR ROUTINE\n",
       "R@3->0:4 R@7->0:8 "},
      {"another procedure's routine is not in scope",
       "A PROCEDURE\n  CODE\nR ROUTINE\nB PROCEDURE\n  CODE\n  DO R\n", ""},
      {"a routine defined twice in one procedure leads nowhere",
       "A PROCEDURE\n  CODE\n  DO R\nR ROUTINE\nR ROUTINE\n", ""},
      {"procedure calls, in MAP prototypes too",
       "  PROGRAM\n  MAP\n    Helper PROCEDURE\n  END\n  CODE\n  Helper()\nHelper PROCEDURE\n  CODE\n",
       "Helper@3->0:7 Helper@6->0:7 "},
      {"a procedure defined twice leads nowhere",
       "A PROCEDURE\n  CODE\n  B\nB PROCEDURE\n  CODE\nB PROCEDURE\n  CODE\n", ""},
      {"SELF.M inside a method of the class",
       "W.Init PROCEDURE\n  CODE\n  SELF.Kill()\nW.Kill PROCEDURE\n  CODE\n",
       "SELF.Kill@3->0:4 "},
      {"SELF.M outside the class's methods leads nowhere",
       "A PROCEDURE\n  CODE\n  SELF.Kill()\nW.Kill PROCEDURE\n  CODE\n", ""},
      {"SELF.M of a class with the method twice leads nowhere",
       "W.Init PROCEDURE\n  CODE\n  SELF.Kill()\nW.Kill PROCEDURE\nW.Kill PROCEDURE\n", ""},
      {"strings and comments never link",
       "A PROCEDURE\n  CODE\n  x = 'A' ! A\n", ""},
      {"with the comment above a unit its label is still the definition",
       "! about B\nB PROCEDURE\n  CODE\n  B\n", "B@4->0:2 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (bool comment : {false, true}) {
      auto doc = load(c.source, comment);
      ASSERT_TRUE(doc);
      EXPECT_EQ(linksOf(*doc, ListingLinks(*doc)), c.links) << comment;
    }
  }
}

TEST(ListingLinksTest, ABookLinksProceduresOfTheTableAndRoutinesOfTheFile) {
  auto doc = load("A PROCEDURE\n  CODE\n  Other\n  Twice\n  A\n  DO R\nR ROUTINE\n");
  ASSERT_TRUE(doc);
  const std::vector<NamedDefinition> table = {
      {"A", {3, 1}}, {"OTHER", {2, 40}}, {"Twice", {2, 5}}, {"twice", {4, 9}}};
  EXPECT_EQ(linksOf(*doc, ListingLinks(*doc, table, 3)), "Other@3->2:40 A@5->3:1 R@6->3:7 ");
}

}  // namespace
}  // namespace tarn
