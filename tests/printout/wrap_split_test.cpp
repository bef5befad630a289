// With wrapping on, a token too long for its line goes on over continuation
// lines: every character of the source is printed, once and in order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "layout_fixture.h"

namespace tarn {
namespace {

std::string withoutBlanks(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
  return out;
}

/// The listing's own text in a record (what is drawn clipped) and its markers.
struct Body {
  struct Piece { int x = 0, y = 0; std::string text; };
  std::vector<Piece> pieces;
  std::string printed;  ///< the pieces without blanks
  int cuts = 0, continuations = 0;
  int shades = 0;  ///< beyond the header and footer bands of each page
};

Body body(const std::string& record) {
  Body b;
  std::istringstream in(record);
  for (std::string l; std::getline(in, l);) {
    Body::Piece p;
    char kind[8] = {};
    std::sscanf(l.c_str(), "%7s %d %d", kind, &p.x, &p.y);
    const std::size_t quote = l.find('"');
    for (std::size_t i = quote + 1; quote != std::string::npos && i + 1 < l.size(); ++i) {
      const char c = l[i] == '\\' ? l[++i] : 0;
      if (c == 'x') {
        p.text += static_cast<char>(std::stoi(l.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        p.text += c == 0 ? l[i] : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
      }
    }
    const std::string k = kind;
    if (k == "clip") {
      b.pieces.push_back(p);
      b.printed += withoutBlanks(p.text);
    }
    b.cuts += k == "text" && p.text == "...";
    b.continuations += k == "text" && p.text == "\xbb ";
    b.shades += (k == "shade") - 2 * (k == "page");
  }
  return b;
}

std::string rep(const std::string& s, int n) { return n > 0 ? s + rep(s, n - 1) : ""; }
std::string ch(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

TEST(WrapSplit, OverLongTokensOnAOneColumnPage) {
  // Portrait, one column: 134 characters from x0 146 to the cut marker at
  // 4578, 132 behind the continuation marker, a pitch of 66.
  struct Case {
    const char* name;
    std::string source;
    std::vector<std::string> lines;  ///< the lines of the split token
  };
  const Case cases[] = {
      {"comment split at a blank in the last third", "! " + ch('c', 100) + " " + ch('d', 200) + "\n",
       {"! " + ch('c', 100) + " ", ch('d', 132), ch('d', 68)}},
      {"comment whose blank lies too early", "! " + ch('c', 40) + " " + ch('d', 200) + "\n",
       {"! " + ch('c', 40) + " " + ch('d', 91), ch('d', 109)}},
      {"string split at a blank", "  x = '" + ch('a', 100) + " " + ch('b', 100) + "'\n",
       {"'" + ch('a', 100) + " ", ch('b', 100) + "'"}},
      {"string whose blank lies too early", "  x = '" + ch('a', 30) + " " + ch('b', 200) + "'\n",
       {"'" + ch('a', 30) + " " + ch('b', 100), ch('b', 100) + "'"}},
      {"identifier over several lines", "  " + ch('V', 400) + " = 1\n",
       {ch('V', 132), ch('V', 132), ch('V', 132), ch('V', 4)}},
      {"comment of words over several lines", "! " + rep("word ", 120) + "\n",
       {"! " + rep("word ", 26), rep("word ", 26), rep("word ", 26), rep("word ", 26), rep("word ", 16)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::LayoutFixture f;
    f.setup.wrapLine = f.setup.portrait = f.setup.columns = 1;
    const std::string record = f.layout(c.source);
    const Body b = body(record);
    EXPECT_EQ(b.printed, withoutBlanks(c.source));
    EXPECT_EQ(b.shades, 0) << "nothing is cut off";
    EXPECT_EQ(b.cuts, static_cast<int>(c.lines.size()) - 1 + (c.source[0] == ' ')) << "and the wrap";
    auto at = std::find_if(b.pieces.begin(), b.pieces.end(), [&](auto& p) { return p.text == c.lines[0]; });
    ASSERT_LT(at + static_cast<long>(c.lines.size()) - 1, b.pieces.end()) << record;
    for (std::size_t i = 1; i < c.lines.size(); ++i, ++at) {
      EXPECT_EQ(at[1].text, c.lines[i]);
      EXPECT_EQ(at[1].x, 212);
      EXPECT_EQ(at[1].y, at->y + 66);
      EXPECT_NE(record.find("text 4578 " + std::to_string(at->y) + " "), std::string::npos);
      EXPECT_NE(record.find("text 146 " + std::to_string(at[1].y) + " "), std::string::npos);
    }
  }
}

TEST(WrapSplit, SplitTokensGoOnInTheNextColumnAndPage) {
  struct Case {
    const char* name;
    void (*configure)(SetupData&);
    std::string source;
    test::Selection selection;
    int pages;             ///< 0: any number
    const char* lastPage;  ///< what the last page holds
  };
  const Case cases[] = {
      // Lines 98 and 99 end the page; the comment goes on at the top of page 2.
      {"across a page boundary", [](SetupData& s) { s.portrait = 1; s.columns = 1; },
       rep("x\n", 97) + "! " + ch('z', 400) + "\ny\n", {}, 2, "text 146 146 1 L 000000 \"\\xbb \"\nclip 212 146"},
      // A cut marker wider than the column: still one character a line.
      {"no room for one character", [](SetupData& s) { s.columns = 10; s.sourceFont.pointSize = 480; },
       "  " + ch('W', 60) + " = 'a b c d e f'\n", {}, 0, ""},
      // The unit's last token wraps at the bottom of column 1 and ends in column 2.
      {"last token of a unit printed alone", [](SetupData&) {},
       "A PROCEDURE\n" + rep("  x\n", 65) + "  x = 1 ! " + ch('q', 150) + "\nB PROCEDURE\n", {0, -1}, 1,
       "text 3517 167 1 L 000000 \"\\xbb \""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::LayoutFixture f;
    f.setup.wrapLine = 1;
    c.configure(f.setup);
    const std::string record = f.layout(c.source, c.selection);
    const Body b = body(record);
    EXPECT_EQ(b.printed, withoutBlanks(c.source.substr(0, c.source.find("B PROC"))));
    EXPECT_EQ(b.cuts, b.continuations) << "every cut line goes on";
    EXPECT_EQ(b.shades, 0);
    if (c.pages == 0) continue;
    const std::size_t last = record.find("page " + std::to_string(c.pages) + "\n");
    EXPECT_EQ(record.find("page " + std::to_string(c.pages + 1) + "\n"), std::string::npos);
    EXPECT_NE(record.find(c.lastPage, last), std::string::npos) << record;
  }
}

TEST(WrapSplit, EveryCharacterOfRealFilesOnNarrowColumns) {
  const std::string root = test::corpusDir();
  if (root.empty()) GTEST_SKIP() << "no corpus";
  for (const char* name : {"/real/jslarve__CSVParseClass/CSVReader.clw",
                           "/real/ClarionLive__UltimateUtilities/UltimateSQL/Libsrc/UltimateSQL.inc"}) {
    SCOPED_TRACE(name);
    auto source = test::readRealFile(root + name);
    ASSERT_TRUE(source);
    test::LayoutFixture f;
    f.setup.wrapLine = 1;
    f.setup.columns = 6;
    f.setup.keywordsUppercase = 0;
    const Body b = body(f.layout(*source));
    EXPECT_EQ(b.printed, withoutBlanks(*source));
    EXPECT_EQ(b.cuts, b.continuations);
    EXPECT_EQ(b.shades, 0);
  }
}

}  // namespace
}  // namespace tarn
