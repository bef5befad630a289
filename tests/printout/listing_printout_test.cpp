#include "printout/listing_printout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "layout_fixture.h"

namespace tarn {
namespace {

using test::LayoutFixture;

std::string lines(int n, const std::string& line = "x") {
  std::string s;
  for (int i = 0; i < n; ++i) s += line + "\n";
  return s;
}

/// The records of one kind ("clip", "text", "line", "shade", "page").
std::vector<std::string> ops(const std::string& record, const std::string& kind) {
  std::vector<std::string> out;
  std::istringstream in(record);
  for (std::string l; std::getline(in, l);)
    if (l.compare(0, kind.size() + 1, kind + " ") == 0) out.push_back(l);
  return out;
}

int count(const std::string& record, const std::string& needle) {
  int n = 0;
  for (std::size_t at = 0; (at = record.find(needle, at)) != std::string::npos; at += needle.size()) ++n;
  return n;
}

TEST(ListingPrintout, FontHeightIsTwoThirdsOfTheSize) {
  const std::tuple<int, int, int> cases[] = {
      {120, 600, -66}, {0, 600, -66}, {90, 600, -50}, {99, 600, -55}, {100, 300, -27}, {120, 96, -10},
  };
  for (auto [size, dpi, height] : cases) EXPECT_EQ(TMyPrintout::fontHeight(size, dpi), height) << size;
  EXPECT_LT(TMyPrintout::fontHeight(-1000000, 600), 0) << "damaged sizes stay usable";
  EXPECT_GT(TMyPrintout::fontHeight(2147483647, 600), -10000);
}

TEST(ListingPrintout, WorkedExampleGeometry) {
  // Report font 50 units high, keyword font 55, landscape, two columns.
  LayoutFixture f;
  f.setup.reportFont.pointSize = 90;
  f.setup.sourceFont.pointSize = 99;
  std::string record = f.layout(lines(200));
  EXPECT_NE(record.find("shade 100 0 6800 75\n"), std::string::npos) << "header band";
  EXPECT_NE(record.find("shade 100 4635 6800 4710\n"), std::string::npos) << "footer band";
  EXPECT_NE(record.find("line 100 75 100 4635 1\nline 6800 75 6800 4635 1\nline 3450 75 3450 4635 1\n"),
            std::string::npos)
      << "side lines and the column separator";
  auto clips = ops(record, "clip");
  ASSERT_GE(clips.size(), 163u);
  EXPECT_EQ(clips[0], "clip 167 143 5 000000 167 143 3336 198 \"x\"") << "x0, y0, xR - M, pitch";
  EXPECT_EQ(clips[80], "clip 167 4543 5 000000 167 4543 3336 4598 \"x\"") << "81st line of column 1";
  EXPECT_EQ(clips[81], "clip 3517 143 5 000000 3517 143 6686 198 \"x\"") << "column 2";
  EXPECT_EQ(clips[162], "clip 167 143 5 000000 167 143 3336 198 \"x\"") << "page 2";
  EXPECT_EQ(count(record, "page "), 2);
}

TEST(ListingPrintout, ColumnSeparators) {
  for (int columns : {1, 2, 10}) {
    LayoutFixture f;
    f.setup.columns = columns;
    std::string record = f.layout("x\n");
    int separators = 0;
    for (const std::string& l : ops(record, "line")) {
      int x1 = 0, y1 = 0, x2 = 0, y2 = 0, width = 0;
      if (std::sscanf(l.c_str(), "line %d %d %d %d %d", &x1, &y1, &x2, &y2, &width) == 5 &&
          x1 == x2 && y1 == 99 && y2 == 4611)
        ++separators;
    }
    EXPECT_EQ(separators, columns + 1) << columns << " columns: two side lines and " << columns - 1;
  }
}

TEST(ListingPrintout, PagesAndTheEndMarker) {
  struct Case {
    const char* name;
    std::string source;
    int pages;
  };
  // Default fonts: 67 lines a column, two columns a page.
  const Case cases[] = {
      {"empty document: one page", "", 1},
      {"one line", "x\n", 1},
      {"ends exactly as the last column fills: one more page", lines(134), 2},
      {"one line more", lines(135), 2},
      {"three pages", lines(270), 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LayoutFixture f;
    std::string record = f.layout(c.source);
    auto pages = ops(record, "page");
    ASSERT_EQ(static_cast<int>(pages.size()), c.pages);
    std::size_t lastPage = record.rfind("page ");
    EXPECT_EQ(record.find("END OF LISTING"), record.find("END OF LISTING", lastPage))
        << "the marker is on the last page only";
    EXPECT_EQ(count(record, "Page " + std::to_string(c.pages) + " "), 1);
  }
}

TEST(ListingPrintout, AStopTokenThatFillsTheColumnEndsAtOnce) {
  LayoutFixture f;
  auto doc = f.load("A PROCEDURE\n" + lines(66, "  x") + "B PROCEDURE\n" + lines(100, "  y"));
  ASSERT_EQ(doc->blocks.size(), 2u);
  int pages = 0;
  std::string record = f.record(*doc, {0, -1}, &pages);
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(count(record, "END OF LISTING"), 1) << "the page ends with the stop token";
  EXPECT_EQ(count(record, "\"y\""), 0);
  EXPECT_EQ(count(record, "\"x\""), 66);
}

TEST(ListingPrintout, WhitespaceTakesRoomButIsNotDrawn) {
  LayoutFixture f;
  std::string record = f.layout("a    b\n");
  EXPECT_NE(record.find("clip 167 167 5 000000 167 167 3318 233 \"a\""), std::string::npos);
  EXPECT_NE(record.find("clip 332 167 3 000000 332 167 3318 233 \"b\""), std::string::npos);
  EXPECT_EQ(count(record, "\"    \""), 0);
}

TEST(ListingPrintout, LongTokens) {
  struct Case {
    const char* name;
    std::string source;
    bool wrap;
    std::string expected;  // a line the record must hold
  };
  std::string wide(200, 'w');
  const Case cases[] = {
      {"a token that starts a line stays there: split, not wrapped", wide + "\n", true,
       "clip 167 167 5 000000 167 167 3318 233 \"" + std::string(95, 'w') + "\""},
      {"cut without wrapping", "  x = '" + wide + "'\n", false, "shade 3318 167 3417 233"},
      {"wrap moves the token to a continuation line", "  x = '" + wide + "'\n", true,
       "text 167 233 6 L 000000 \"\\xbb \""},
      {"a continued token that still does not fit goes on over another line", "  x = '" + wide + "'\n",
       true, "text 3318 233 6 L 000000 \"...\"\ntext 167 299 6 L 000000 \"\\xbb \""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LayoutFixture f;
    f.setup.wrapLine = c.wrap;
    std::string record = f.layout(c.source);
    EXPECT_NE(record.find(c.expected), std::string::npos) << record;
  }
}

TEST(ListingPrintout, TrailingBlanksDoNotWrap) {
  LayoutFixture f;
  f.setup.wrapLine = 1;
  // 95 characters fill the column up to the cut marker; the blanks after them do not wrap.
  std::string record = f.layout("  " + std::string(93, 'z') + "        \n  next\n");
  EXPECT_EQ(count(record, "\\xbb"), 0);
  EXPECT_NE(record.find("\"next\""), std::string::npos);
}

TEST(ListingPrintout, AContinuationBelowTheColumnGoesToTheNextColumn) {
  LayoutFixture f;
  f.setup.wrapLine = 1;
  std::string record = f.layout(lines(66, "  a") + "  b = 'a long string that does not fit behind the long " +
                                std::string(80, 's') + "'\n");
  // Line 67 is the last of the column: the string is cut there and goes on at
  // the top of the second column behind the continuation marker.
  EXPECT_NE(record.find("text 3318 4523 6 L 000000 \"...\""), std::string::npos) << record;
  EXPECT_NE(record.find("text 3517 167 6 L 000000 \"\\xbb \""), std::string::npos);
  EXPECT_NE(record.find("clip 3583 167 6 000000"), std::string::npos);
  for (const std::string& l : ops(record, "clip")) {
    int y = std::stoi(l.substr(l.find(' ', 5) + 1));
    EXPECT_LE(y, 4543) << "nothing begins below the column: " << l;
  }
}

TEST(ListingPrintout, PrintingAlwaysEnds) {
  struct Case {
    const char* name;
    void (*configure)(SetupData&);
  };
  const Case cases[] = {
      {"huge font, many columns, rules and breaks",
       [](SetupData& s) {
         s.sourceFont.pointSize = 3000;
         s.columns = 10;
         s.lineBeforeUnit = 1;
         s.oneUnitEach = 1;
         s.wrapLine = 1;
       }},
      {"headings in a short column",
       [](SetupData& s) {
         s.sourceFont.pointSize = 2000;
         s.printMode = 2;
         s.lineBeforeUnit = 1;
       }},
      {"damaged settings", [](SetupData& s) { s.columns = 0; s.lineHeight = 0; }},
      {"more damaged settings", [](SetupData& s) { s.columns = -7; s.lineHeight = -100; s.printMode = 9; }},
  };
  std::string source;
  for (int i = 0; i < 30; ++i)
    source += "P" + std::to_string(i) +
              " PROCEDURE\n  CODE\n  ! Before Embed Point: %e) DESC(d) ARG()\n  x = 1\n  ! After Embed Point: %e)\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LayoutFixture f;
    c.configure(f.setup);
    int pages = 0;
    auto doc = f.load(source);
    std::string record = f.record(*doc, {}, &pages);
    EXPECT_GE(pages, 1);
    EXPECT_LE(pages, doc->tokens->count() + 1) << "every page takes at least one token";
    EXPECT_NE(record.find("END OF LISTING"), std::string::npos);
  }
}

TEST(ListingPrintout, DatesInTheFooter) {
  struct Case {
    const char* order;
    const char* printed;
    const char* modified;
  };
  const Case cases[] = {
      {"0", "Printed: 12/07/2026  10:30  ", "  Modified: 03/05/2001  09:07"},
      {"1", "Printed: 07/12/2026  10:30  ", "  Modified: 05/03/2001  09:07"},
      {"2", "Printed: 2026/12/07  10:30  ", "  Modified: 2001/03/05  09:07"},
      {"7", "Printed:   10:30  ", "  Modified:   09:07"},
      {"-1", "Printed:   10:30  ", "  Modified:   09:07"},
  };
  for (const Case& c : cases) {
    LayoutFixture f;
    f.profile.values["INTL/IDATE"] = c.order;
    std::string record = f.layout("x\n");
    EXPECT_NE(record.find(c.printed), std::string::npos) << c.order;
    EXPECT_NE(record.find(c.modified), std::string::npos) << c.order;
    EXPECT_TRUE(f.messages.messages.empty());
  }
}

TEST(ListingPrintout, HeaderNamesTheFile) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\SRC\\MAIN.CLW", "\"  MAIN.CLW  (C:\\\\SRC)\""},
      {"MAIN.CLW", "\"  MAIN.CLW\""},
      {"/home/u/src/main.clw", "\"  main.clw  (/home/u/src)\""},
      // Paths are UTF-8: what the code page holds is drawn from it, the rest as itself.
      {"/s/\xC3\xBC dir/M\xC3\xBCller.clw", "\"  M\\xfcller.clw  (/s/\\xfc dir)\""},
      {"/s/\xC5\x81\xC3\xB3" "d\xC5\xBA.clw", "\"  \\u0141\\u00f3d\\u017a.clw  (/s)\""},
      {"/s/\xCE\xA9mega.clw", "\"  \\u03a9mega.clw  (/s)\""},
      {"/s/\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82.clw",
       "\"  \\u041f\\u0440\\u0438\\u0432\\u0435\\u0442.clw  (/s)\""},
      // A name that is not UTF-8 (from an older system) reads as the code page.
      {"/s/M\xFCller.clw", "\"  M\\xfcller.clw  (/s)\""},
  };
  for (auto [path, shown] : cases) {
    LayoutFixture f;
    std::string record = f.layout("x\n", {}, path);
    EXPECT_NE(record.find(std::string("text 100 16 11 L 000000 ") + shown), std::string::npos) << path;
  }
  RecordingCanvas canvas;
  EXPECT_EQ(canvas.textWidthUtf8("\xC5\x81\xC3\xB3" "d\xC5\xBA"), canvas.textWidth("Lodz"))
      << "a character is as wide as a byte of the code page";
  LayoutFixture empty;
  EXPECT_EQ(count(empty.layout("x\n"), "text 3450 16 11 C"), 0) << "an empty header text draws nothing";
}

TEST(ListingPrintout, OrientationForTheDialog) {
  for (int portrait : {0, 1}) {
    LayoutFixture f;
    f.setup.portrait = portrait;
    auto doc = f.load("x\n");
    PrintContext context{f.setup, f.dates, [] { return test::kPrintedAt; }};
    TMyPrintout printout(*doc, doc->path, 0, nullptr, false, context);
    PageRange range{1, 2, 3, 4};
    DeviceMode mode;
    printout.getDialogInfo(range, mode);
    EXPECT_EQ(range.maxPage, 0);
    EXPECT_EQ(mode.orientation, portrait ? DeviceMode::kPortrait : DeviceMode::kLandscape);
    EXPECT_EQ(mode.color, DeviceMode::kColor);
  }
}

TEST(NothingToPrint, ByPrintMode) {
  struct Case {
    const char* name;
    const char* source;
    bool mode1, mode2, mode3;
  };
  const Case cases[] = {
      {"only comments and blank lines", "! a\n\n  ! b\n", true, true, true},
      {"code without structures", "A PROCEDURE\n  CODE\n", false, true, true},
      {"a window but no embed point", "A PROCEDURE\nW WINDOW\n  END\n", false, false, true},
      {"an embed point", "A PROCEDURE\n  ! Before Embed Point: %x) DESC(d) ARG()\n  x\n", false, false,
       false},
      {"an empty embed point", "  ! Before Embed Point: %x)\n  ! After Embed Point: %x)\n", true, true,
       true},
      {"empty file", "", true, true, true},
  };
  for (const Case& c : cases) {
    LayoutFixture f;
    auto doc = f.load(c.source);
    EXPECT_EQ(hasNothingToPrint(*doc, 1), c.mode1) << c.name;
    EXPECT_EQ(hasNothingToPrint(*doc, 2), c.mode2) << c.name;
    EXPECT_EQ(hasNothingToPrint(*doc, 3), c.mode3) << c.name;
  }
}

TEST(Dates, WarningOnceWhenNoOrderIsKnown) {
  test::MemoryProfile profile;
  test::RecordingMessages messages;
  DateFormatter dates(profile, [] { return std::optional<int>(); }, messages);
  EXPECT_EQ(dates.formatDate(5, 3, 2001), "05/03/2001");
  EXPECT_EQ(dates.formatDate(6, 3, 2001), "06/03/2001");
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Date settings could not be found in WIN.INI. Corrected to DD/MM/YY");
  EXPECT_EQ(messages.messages[0].caption, "Warning");

  DateFormatter fromLocale(profile, [] { return std::optional<int>(2); }, messages);
  EXPECT_EQ(fromLocale.formatDate(5, 3, 2001), "2001/03/05");
  EXPECT_EQ(messages.messages.size(), 1u) << "the locale's order needs no warning";
  EXPECT_EQ(count(std::string(profile.reads.size(), 'r'), "r"), 2) << "the profile is read once a formatter";
}

}  // namespace
}  // namespace tarn
