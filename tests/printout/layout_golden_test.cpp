// Recorded page layouts of typical listings, compared with the files in
// tests/data/layout. tools/update-golden.sh rewrites them; review each change.
#include <gtest/gtest.h>

#include <cstring>

#include "layout_fixture.h"

namespace tarn {
namespace {

const char* const kProgram =
    "  PROGRAM\n"
    "\n"
    "  MAP\n"
    "Main PROCEDURE\n"
    "Helper PROCEDURE(LONG x),LONG\n"
    "  END\n"
    "\n"
    "  CODE\n"
    "  Main()\n"
    "\n"
    "! The main window\n"
    "Main PROCEDURE\n"
    "Window WINDOW('Totals'),AT(,,200,100),GRAY\n"
    "         BUTTON('OK'),AT(10,10,40,14),USE(?OK)\n"
    "       END\n"
    "  CODE\n"
    "  OPEN(Window)\n"
    "      ! Before Embed Point: %WindowEvents) DESC(Window Events) ARG(OpenWindow)\n"
    "  ACCEPT\n"
    "    IF ACCEPTED() = ?OK THEN BREAK.\n"
    "  END\n"
    "      ! After Embed Point: %WindowEvents) DESC(Window Events) ARG(OpenWindow)\n"
    "  DO Tidy\n"
    "\n"
    "Tidy ROUTINE\n"
    "  CLOSE(Window)\n"
    "\n"
    "Helper PROCEDURE(LONG x)\n"
    "  CODE\n"
    "  RETURN x * 2 ! doubled\n";

const char* const kLongLines =
    "Wide PROCEDURE\n"
    "  CODE\n"
    "  Total = FirstAmount + SecondAmount + ThirdAmount + FourthAmount + FifthAmount + Sixth\n"
    "  MESSAGE('A string literal much wider than any column of this narrow layout could hold')\n"
    "  x = 1\n";

struct Case {
  const char* name;
  const char* source;
  void (*configure)(SetupData&);
  test::Selection selection = {};
  const char* path = "C:\\SRC\\MAIN.CLW";
  ListingExtras extras = {};
};

void none(SetupData&) {}

const Case kCases[] = {
    {"full_landscape_two_columns", kProgram, none},
    {"full_portrait_one_column", kProgram, [](SetupData& s) { s.portrait = 1; s.columns = 1; }},
    {"regions_mode2", kProgram, [](SetupData& s) { s.printMode = 2; }},
    {"regions_mode3", kProgram, [](SetupData& s) { s.printMode = 3; }},
    {"emphasized_regions", kProgram, [](SetupData& s) { s.emphasizeEmbeds = 1; }},
    {"unit_rules", kProgram, [](SetupData& s) { s.lineBeforeUnit = 1; s.columns = 3; }},
    {"unit_per_column", kProgram,
     [](SetupData& s) { s.oneUnitEach = 1; s.unitPerPage = 0; s.unitPerColumn = 1; s.columns = 4; }},
    {"unit_per_page_with_rules", kProgram,
     [](SetupData& s) { s.oneUnitEach = 1; s.unitPerPage = 1; s.lineBeforeUnit = 1; }},
    {"wrap_off", kLongLines, [](SetupData& s) { s.columns = 6; }},
    {"wrap_on", kLongLines, [](SetupData& s) { s.columns = 6; s.wrapLine = 1; }},
    {"unit_alone", kProgram, none, {1, -1}},
    {"last_unit_alone", kProgram, none, {3, -1}},
    {"embed_alone_emphasized", kProgram, [](SetupData& s) { s.emphasizeEmbeds = 1; }, {-1, 0}},
    {"embed_alone_mode2", kProgram, [](SetupData& s) { s.printMode = 2; }, {-1, 0}},
    {"empty_document", "", none},
    {"plain_text", "Notes for the build:\n\tcopy a.b c.d\n  (done)\n", none, {}, "/home/u/notes.txt"},
    {"styles_colours_header", kProgram,
     [](SetupData& s) {
       s.tokenStyle[tcKeyword] = kStyleBold;
       s.tokenStyle[tcComment] = kStyleItalic;
       s.tokenColor[tcKeyword] = 0x00800000;  // blue
       s.tokenColor[tcLiteral] = 0x00008000;  // green
       std::strcpy(s.headerText, "Release 2.1");
     }},
    {"binding_margin_portrait", kProgram, [](SetupData& s) { s.bindingMargin = 1; s.portrait = 1; }},
    {"binding_margin_landscape", kProgram, [](SetupData& s) { s.bindingMargin = 1; }},
    {"line_height_200", kProgram, [](SetupData& s) { s.lineHeight = 200; s.columns = 3; }},
    {"line_numbers_wrap_page_count", kLongLines,
     [](SetupData& s) { s.columns = 6; s.wrapLine = 1; }, {}, "C:\\SRC\\MAIN.CLW", {true, true, true}},
    {"line_numbers_mode2", kProgram, [](SetupData& s) { s.printMode = 2; s.lineBeforeUnit = 1; },
     {}, "C:\\SRC\\MAIN.CLW", {true, false, true}},
};

TEST(LayoutGolden, RecordedPages) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    test::LayoutFixture f;
    c.configure(f.setup);
    f.extras = c.extras;
    test::expectGolden(c.name, f.layout(c.source, c.selection, c.path));
    EXPECT_TRUE(f.messages.messages.empty());
  }
}

}  // namespace
}  // namespace tarn
