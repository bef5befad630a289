// Line numbers, page counts, page ranges and the outline, read back from the
// recorded pages of the test device.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "layout_fixture.h"
#include "printout/print_document.h"

namespace tarn {
namespace {

using test::LayoutFixture;

// Units, a structure, embed points, and lines too long for narrow columns.
const char* const kSource =
    "  PROGRAM\n"
    "  MAP\n"
    "  END\n"
    "  CODE\n"
    "  Main()\n"
    "\n"
    "Main PROCEDURE\n"
    "Window WINDOW('Totals'),AT(,,200,100),GRAY\n"
    "         BUTTON('OK'),AT(10,10,40,14),USE(?OK)\n"
    "       END\n"
    "  CODE\n"
    "  OPEN(Window)\n"
    "  ! Before Embed Point: %Open) DESC(Opening \xE9t\xE9) ARG()\n"
    "  Total = FirstAmount + SecondAmount + ThirdAmount + FourthAmount + FifthAmount\n"
    "  ! After Embed Point: %Open) DESC(Opening \xE9t\xE9) ARG()\n"
    "  DO Tidy\n"
    "\n"
    "Tidy ROUTINE\n"
    "  ! Before Embed Point: %Tidy) DESC(Tidying) ARG()\n"
    "  MESSAGE('A string literal much wider than any narrow column of this layout')\n"
    "  ! After Embed Point: %Tidy) DESC(Tidying) ARG()\n"
    "  CLOSE(Window)\n";

std::vector<std::string> fileLines(const std::string& source) {
  std::vector<std::string> out;
  std::istringstream in(source);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

std::string withoutBlanks(std::string s) {
  std::erase_if(s, [](char c) { return c == ' '; });
  return s;
}

/// Text as the record escapes it, back to its bytes.
std::string unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
    } else if (text[i + 1] == 'x' && i + 3 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      out += text[i + 1] == 'n' ? '\n' : text[i + 1] == 't' ? '\t' : text[i + 1];
      ++i;
    }
  }
  return out;
}

/// One drawing operation of a record: its kind, place, font and text.
struct Op {
  std::string kind;
  int page = 0, x = 0, y = 0, font = -1;
  std::string color, text;
};

std::vector<Op> parse(const std::string& record) {
  std::vector<Op> out;
  std::istringstream in(record);
  int page = 0;
  for (std::string l; std::getline(in, l);) {
    std::istringstream f(l);
    Op op;
    f >> op.kind;
    if (op.kind == "page") {
      f >> page;
      continue;
    }
    if (op.kind != "text" && op.kind != "clip") continue;
    op.page = page;
    std::string align;
    f >> op.x >> op.y >> op.font;
    if (op.kind == "text") f >> align;
    f >> op.color;
    const std::size_t quote = l.find('"');
    op.text = unescape(l.substr(quote + 1, l.size() - quote - 2));
    out.push_back(op);
  }
  return out;
}

/// Equal records, or the first line where they part.
::testing::AssertionResult sameRecord(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::istringstream a(actual), e(expected);
  std::string la, le;
  for (int line = 1;; ++line) {
    const bool moreA = static_cast<bool>(std::getline(a, la));
    const bool moreE = static_cast<bool>(std::getline(e, le));
    if (la != le || moreA != moreE)
      return ::testing::AssertionFailure() << "line " << line << ": '" << (moreA ? la : "(end)")
                                           << "' instead of '" << (moreE ? le : "(end)") << "'";
  }
}

/// The pages of a record from `first` to `last`, as their own record.
std::string pagesOf(const std::string& record, int first, int last) {
  const std::size_t from = record.find("page " + std::to_string(first) + "\n");
  const std::size_t to = record.find("page " + std::to_string(last + 1) + "\n");
  return from == std::string::npos ? "" : record.substr(from, to == std::string::npos ? to : to - from);
}

struct NumberCase {
  const char* name;
  void (*configure)(SetupData&);
  test::Selection selection;
  int first, last;  ///< the numbers printed, in order; 0: any rising subset
};

TEST(ListingExtras, LineNumbersAreTheFilesOwnLines) {
  const NumberCase cases[] = {
      {"full source", [](SetupData&) {}, {}, 1, 22},
      {"one unit", [](SetupData&) {}, {1, -1}, 7, 17},
      {"mode 2", [](SetupData& s) { s.printMode = 2; }, {}, 0, 0},
      {"wrapping in 3 columns", [](SetupData& s) { s.wrapLine = 1; s.columns = 3; }, {}, 1, 22},
      {"10 columns, cut lines", [](SetupData& s) { s.columns = 10; }, {}, 1, 22},
  };
  const std::vector<std::string> lines = fileLines(kSource);
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.name);
    LayoutFixture f;
    c.configure(f.setup);
    f.extras.lineNumbers = true;
    const std::vector<Op> ops = parse(f.layout(kSource, c.selection));
    // A row a number, each column apart: (page, y, number's x) -> number and what follows it.
    std::map<std::tuple<int, int, int>, std::pair<int, std::string>> rows;
    std::vector<int> numbers;
    for (const Op& op : ops)
      if (op.font == kLineNumberFontSlot) {
        EXPECT_EQ(op.color, "808080");
        numbers.push_back(std::stoi(op.text));
        rows[{op.page, op.y, op.x}].first = numbers.back();
      }
    ASSERT_FALSE(numbers.empty());
    for (const Op& op : ops) {
      // The row of the nearest number left of the text; the map orders by x last.
      auto row = rows.end();
      for (auto it = rows.lower_bound({op.page, op.y, 0});
           it != rows.end() && std::get<1>(it->first) == op.y && std::get<2>(it->first) < op.x; ++it)
        if (std::get<0>(it->first) == op.page) row = it;
      if (op.kind == "text" && op.text == "\xBB ")
        EXPECT_TRUE(row == rows.end() || op.x - std::get<2>(row->first) > 100)
            << "continuation line at y " << op.y << " numbered";
      else if (op.kind == "clip" && row != rows.end())
        row->second.second += op.text;
    }
    for (const auto& [at, row] : rows) {
      const auto& [n, text] = row;
      ASSERT_TRUE(n >= 1 && n <= static_cast<int>(lines.size())) << n;
      const std::string line = withoutBlanks(lines[static_cast<std::size_t>(n - 1)]);
      // Mode 2 starts a structure's line at its keyword: the row may begin later.
      const std::size_t pos = line.find(withoutBlanks(text));
      EXPECT_TRUE(f.setup.printMode == 1 ? pos == 0 : pos != std::string::npos)
          << "line " << n << " printed as '" << text << "'";
    }
    for (std::size_t k = 1; k < numbers.size(); ++k) EXPECT_LT(numbers[k - 1], numbers[k]);
    if (c.first) {
      EXPECT_EQ(numbers.front(), c.first);
      EXPECT_EQ(numbers.back(), c.last);
      EXPECT_EQ(numbers.size(), static_cast<std::size_t>(c.last - c.first + 1)) << "no line lost";
    } else {
      EXPECT_LT(numbers.size(), lines.size()) << "mode 2 prints part of the file";
    }
  }
}

/// The record with each header's " of M" taken out.
std::string withoutCount(std::string record) {
  const std::string page = "\"  Page ";
  for (std::size_t at = 0; (at = record.find(page, at)) != std::string::npos; ++at) {
    const std::size_t of = record.find(" of ", at), end = record.find("  \"", at + page.size());
    if (of < end) record.erase(of, end - of);
  }
  return record;
}

TEST(ListingExtras, PageCountIsKnownOnPageOneAndChangesNothingElse) {
  std::string many = kSource;
  for (int i = 0; i < 300; ++i) many += "  x" + std::to_string(i) + " = 1\n";
  for (const std::string& source : {std::string(kSource), many}) {
    LayoutFixture f;
    f.setup.lineBeforeUnit = 1;
    f.setup.wrapLine = 1;
    f.setup.columns = 3;
    f.extras.lineNumbers = true;
    auto doc = f.load(source);
    int plain = 0, counted = 0;
    const std::string without = f.record(*doc, {}, &plain);
    f.extras.pageCount = true;
    const std::string with = f.record(*doc, {}, &counted);
    EXPECT_EQ(counted, plain);
    EXPECT_TRUE(sameRecord(withoutCount(with), without)) << "the counting pass leaves no trace";
    for (int p = 1; p <= counted; ++p)
      EXPECT_NE(pagesOf(with, p, p).find("\"  Page " + std::to_string(p) + " of " +
                                         std::to_string(counted) + "  \""),
                std::string::npos)
          << "page " << p;
    EXPECT_EQ(counted > 1, source.size() > 2000);
  }
}

TEST(ListingExtras, APageRangePrintsThosePagesAsTheWholeListingHasThem) {
  std::string source;
  for (int i = 0; i < 150; ++i)
    source += "P" + std::to_string(i) + " PROCEDURE\n  CODE\n  ! Before Embed Point: %e) DESC(d" +
              std::to_string(i) + ") ARG()\n  Total = FirstAmount + SecondAmount + ThirdAmount\n" +
              "  ! After Embed Point: %e) DESC(d) ARG()\n";
  struct Case {
    const char* name;
    void (*configure)(SetupData&);
  } cases[] = {
      {"full source", [](SetupData&) {}},
      {"wrapped, tokens split over columns", [](SetupData& s) { s.wrapLine = 1; s.columns = 7; }},
      {"mode 2 with rules", [](SetupData& s) { s.printMode = 2; s.lineBeforeUnit = 1; }},
      {"a unit a page", [](SetupData& s) { s.oneUnitEach = 1; s.unitPerPage = 1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LayoutFixture f;
    c.configure(f.setup);
    f.extras = {true, true, true};
    auto doc = f.load(source);
    int pages = 0;
    const std::string whole = f.record(*doc, {}, &pages);
    ASSERT_GE(pages, 4);
    for (PageRange range : {PageRange{0, 0, 2, 3}, PageRange{0, 0, pages, pages + 5},
                            PageRange{0, 0, pages - 1, 0}}) {
      const int last = range.toPage ? std::min(range.toPage, pages) : pages;
      EXPECT_TRUE(sameRecord(f.record(*doc, {}, nullptr, range), pagesOf(whole, range.fromPage, last)))
          << "pages " << range.fromPage << "-" << range.toPage;
    }
  }
}

TEST(ListingExtras, OnlyAWholePrintoutClearsTheArchiveMark) {
  LayoutFixture f;
  std::string source;
  for (int i = 0; i < 400; ++i) source += "  x" + std::to_string(i) + " = 1\n";
  auto doc = f.load(source, "/src/A.CLW");
  f.setup.clearArchive = 1;
  RecordingPrinter printer;
  PrintServices services{f.setup, f.fs, f.attributes, f.messages, f.dates,
                         [] { return test::kPrintedAt; }, [&]() -> Printer& { return printer; }, {}, {}};
  for (PageRange range : {PageRange{0, 0, 2, 2}, PageRange{}}) {
    f.attributes.attributes["/src/A.CLW"] = kAttrArchive;
    printer.range = range;
    EXPECT_EQ(printDocument(*doc, PrintRequest{}, services), DirectPrintResult::Printed);
    EXPECT_EQ(f.attributes.attributes["/src/A.CLW"], range.fromPage ? kAttrArchive : 0u);
  }
}

struct Entry {
  std::string title;
  int level, page;
};

TEST(ListingExtras, OutlineHoldsThePrintedUnitsWithTheirEmbedPoints) {
  struct Case {
    const char* name;
    const char* source;
    void (*configure)(SetupData&, ListingExtras&);
    test::Selection selection;
    std::vector<Entry> expected;
  } cases[] = {
      {"full source", kSource, [](SetupData&, ListingExtras&) {}, {},
       {{"PROGRAM", 0, 1}, {"Main PROCEDURE", 0, 1}, {"Opening \xE9t\xE9   ARG()", 1, 1},
        {"Tidy ROUTINE", 0, 1}, {"Tidying   ARG()", 1, 1}}},
      {"mode 3: only the units with embed points", kSource,
       [](SetupData& s, ListingExtras&) { s.printMode = 3; }, {},
       {{"Main PROCEDURE", 0, 1}, {"Opening \xE9t\xE9   ARG()", 1, 1}, {"Tidy ROUTINE", 0, 1},
        {"Tidying   ARG()", 1, 1}}},
      {"one embed point keeps its unit", kSource, [](SetupData&, ListingExtras&) {}, {-1, 1},
       {{"Tidy ROUTINE", 0, 1}, {"Tidying   ARG()", 1, 1}}},
      {"no units: the file", "! notes\n  ! Before Embed Point: %a) DESC(Alone) ARG()\n  x\n",
       [](SetupData&, ListingExtras&) {}, {}, {{"MAIN.CLW", 0, 1}, {"Alone   ARG()", 1, 1}}},
      {"outline off", kSource, [](SetupData&, ListingExtras& e) { e.pdfOutline = false; }, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LayoutFixture f;
    c.configure(f.setup, f.extras);
    auto doc = f.load(c.source, "/src/MAIN.CLW");
    DocumentInfo info;
    const std::vector<Op> ops = parse(f.record(*doc, c.selection, nullptr, {}, &info));
    EXPECT_EQ(info.title, "MAIN.CLW");
    EXPECT_EQ(info.created, test::kPrintedAt);
    std::vector<Entry> got;
    for (const OutlineEntry& e : info.outline) got.push_back({e.title, e.level, e.page});
    ASSERT_EQ(got.size(), c.expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].title, c.expected[i].title);
      EXPECT_EQ(got[i].level, c.expected[i].level) << got[i].title;
      EXPECT_EQ(got[i].page, c.expected[i].page) << got[i].title;
    }
    // A unit's entry leads to the line its label prints on.
    for (const OutlineEntry& e : info.outline) {
      if (e.level != 0 || e.utf8) continue;
      const std::string label = e.title.substr(0, e.title.find(' '));
      bool found = false;
      for (const Op& op : ops) found = found || (op.text == label && op.page == e.page && op.y == e.y);
      EXPECT_TRUE(found || f.setup.printMode != 1 || c.selection.embed >= 0)
          << e.title << " at y " << e.y;
    }
  }
}

}  // namespace
}  // namespace tarn
