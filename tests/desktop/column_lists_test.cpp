#include "desktop/column_lists.h"

#include <gtest/gtest.h>

#include "platform/cp1252.h"
#include "support/fakes.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

class ColumnListsTest : public ::testing::Test {
 protected:
  const TFileDataSource& load(std::string text) {
    fs.create("/p/X.CLW", std::move(text));
    doc = loadDocument("/p/X.CLW", analysisOptions(defaultSetupData()), fs, messages);
    EXPECT_TRUE(doc);
    return *doc;
  }
  static Strings shown(const ColumnListData& list) {
    Strings out;
    for (int p = 0; p < list.shownCount(); ++p) out.emplace_back(list.mainText(list.shownIndex(p)));
    return out;
  }

  test::VirtualFileSystem fs;
  test::RecordingMessages messages;
  std::unique_ptr<TFileDataSource> doc;
};

// "\xC9mile" is "Émile", "\xE9lan" is "élan" in Windows-1252.
constexpr const char* kUnits =
    "  PROGRAM\n"
    "  MAP\n  END\n"
    "\xC9mile PROCEDURE\n  CODE\n  DO \xE9lan\n"
    "\xE9lan   ! the label's comment\n"
    "       ! another\n"
    "\n"
    "   routine\n"
    "  x = 1\n"
    "Other FUNCTION(LONG x)\n  CODE\n";

TEST_F(ColumnListsTest, UnitsShowTheKeywordAfterALabel) {
  StructsListData list(load(kUnits));
  struct Row {
    std::string main, right;
    int indent;
  };
  const Row expected[] = {
      {"PROGRAM", "", 0},  // a keyword entry has no right column
      {"\xC9mile", "PROCEDURE", 0},
      {"\xE9lan", "ROUTINE", 10},  // past comments and a blank line; any case
      {"Other", "FUNCTION", 0},
  };
  ASSERT_EQ(list.entryCount(), 4);
  ASSERT_EQ(list.shownCount(), 4) << "a new list shows everything";
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(list.mainText(i), expected[i].main) << i;
    EXPECT_EQ(list.mainText(i).data(), doc->blocks[static_cast<std::size_t>(i)]->text)
        << "drawn from the token, not a copy";
    EXPECT_EQ(cp1252::upper(list.rightText(i)), expected[i].right) << i;
    EXPECT_EQ(list.rightIndent(i), expected[i].indent) << i;
  }
}

TEST_F(ColumnListsTest, LabelAtTheEndOfTheTokensHasNoRightText) {
  TFileDataSource made;
  TToken* label = made.tokens->appendToken("Last", tcLabel, 0, 1);
  made.tokens->appendToken("  ! end\n", tcComment, tfComment | tfLineEnd, 1);
  made.blocks.push_back(label);
  StructsListData list(made);
  EXPECT_EQ(list.rightText(0), "");
  EXPECT_EQ(list.rightIndent(0), 0);
}

TEST_F(ColumnListsTest, FilterMatchesAnywhereWithoutRegardToCase) {
  StructsListData list(load(kUnits));
  // Applied in order on one list: each result must not depend on the one before.
  const std::pair<const char*, Strings> cases[] = {
      {"o", {"PROGRAM", "Other"}},
      {"oth", {"Other"}},
      {"othx", {}},
      {"\xE9MI", {"\xC9mile"}},        // é matches É
      {"\xC9", {"\xC9mile", "\xE9lan"}},
      {"e", {"\xC9mile", "Other"}},    // e is not é
      {"LAN", {"\xE9lan"}},
      {"\xC9milee", {}},
      {"", {"PROGRAM", "\xC9mile", "\xE9lan", "Other"}},
  };
  for (const auto& [filter, want] : cases) {
    list.applyFilter(filter);
    EXPECT_EQ(shown(list), want) << '"' << filter << '"';
  }
}

TEST_F(ColumnListsTest, EmptySourceShowsNothing) {
  StructsListData units(load("! only a comment\n"));
  EmbedsListData embeds(*doc);
  for (const char* filter : {"", "x"}) {
    units.applyFilter(filter);
    embeds.applyFilter(filter);
    EXPECT_EQ(units.shownCount(), 0);
    EXPECT_EQ(embeds.shownCount(), 0);
  }
}

TEST_F(ColumnListsTest, EmbedsShowTheDescriptionOrTheCommentWithoutItsLineEnd) {
  EmbedsListData list(load(
      "Main PROCEDURE\n  CODE\n"
      "  ! Before Embed Point: %Setup) DESC(Procedure Setup) ARG()\n"
      "  x = 1\n"
      "  ! Before Embed Point: %Plain\n"));
  EXPECT_FALSE(list.twoColumns());
  EXPECT_EQ(shown(list), (Strings{"Procedure Setup   ARG()", "Before Embed Point: %Plain"}));
  list.applyFilter("setup");
  EXPECT_EQ(shown(list), Strings{"Procedure Setup   ARG()"});
}

}  // namespace
}  // namespace tarn
