// With wrapping on, a token too long for its line goes on over continuation
// lines: every character of the source is printed, once and in order.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "analysis/dump.h"
#include "layout_fixture.h"

namespace tarn {
namespace {

// Escaped text without its blanks, which print as nothing.
std::string visible(std::string_view s) {
  std::string out;
  for (std::size_t i = 0, n = 1; i < s.size(); i += n) {
    n = s[i] != '\\' ? 1 : s[i + 1] == 'x' ? 4 : 2;
    const std::string_view unit = s.substr(i, n);
    if (unit != " " && unit != "\\t" && unit != "\\r" && unit != "\\n") out += unit;
  }
  return out;
}

// Every character of `source` drawn once and in order, and no line cut off.
void expectAllPrinted(const std::string& record, const std::string& source) {
  std::string printed;
  int cuts = 0, continuations = 0, shades = 0;  // shades beyond the header and footer bands
  std::istringstream in(record);
  for (std::string l; std::getline(in, l);) {
    const std::string text = l.substr(l.find('"') + 1);  // with its closing quote
    cuts += l.starts_with("text") && text == "...\"";
    continuations += l.starts_with("text") && text == "\\xbb \"";
    shades += l.starts_with("shade") - 2 * l.starts_with("page");
    if (l.starts_with("clip")) printed += visible(text.substr(0, text.size() - 1));
  }
  EXPECT_EQ(printed, visible(escapeDumpText(source)));
  EXPECT_EQ(cuts, continuations) << "every cut line goes on";
  EXPECT_EQ(shades, 0) << "nothing is cut off";
}

std::string rep(const std::string& s, int n) { return n > 0 ? s + rep(s, n - 1) : ""; }
std::string ch(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

TEST(WrapSplit, OverLongTokensGoOnOverLinesColumnsAndPages) {
  // Portrait, one column: 134 characters from x0 146 to the cut marker at
  // 4578, 132 behind the continuation marker, a pitch of 66.
  auto portrait = [](SetupData& s) { s.portrait = s.columns = 1; };
  struct Case {
    const char* name;
    void (*configure)(SetupData&);
    std::string source;
    std::vector<std::string> lines = {};  ///< the lines of the split token
    test::Selection selection = {};
    int pages = 0;              ///< 0: any number
    const char* lastPage = "";  ///< what the last page holds
  };
  const Case cases[] = {
      {"string split at a blank in the last third", portrait,
       "  x = '" + ch('a', 100) + " " + ch('b', 100) + "'\n",
       {"'" + ch('a', 100) + " ", ch('b', 100) + "'"}},
      {"comment whose blank lies too early", portrait, "! " + ch('c', 40) + " " + ch('d', 200) + "\n",
       {"! " + ch('c', 40) + " " + ch('d', 91), ch('d', 109)}},
      {"identifier over several lines", portrait, "  " + ch('V', 400) + " = 1\n",
       {ch('V', 132), ch('V', 132), ch('V', 132), ch('V', 4)}},
      {"comment of words over several lines", portrait, "! " + rep("word ", 120) + "\n",
       {"! " + rep("word ", 26), rep("word ", 26), rep("word ", 26), rep("word ", 26),
        rep("word ", 16)}},
      // Lines 98 and 99 end the page; the comment goes on at the top of page 2.
      {"across a page boundary", portrait, rep("x\n", 97) + "! " + ch('z', 400) + "\ny\n", {}, {}, 2,
       "text 146 146 1 L 000000 \"\\xbb \"\nclip 212 146"},
      // A cut marker wider than the column: still one character a line.
      {"no room for one character",
       [](SetupData& s) { s.columns = 10; s.sourceFont.pointSize = 480; },
       "  " + ch('W', 60) + " = 'a b c d e f'\n"},
      // The unit's last token wraps at the bottom of column 1 and ends in column 2.
      {"last token of a unit printed alone", [](SetupData&) {},
       "A PROCEDURE\n" + rep("  x\n", 65) + "  x = 1 ! " + ch('q', 150) + "\nB PROCEDURE\n", {},
       {0, -1}, 1, "text 3517 167 1 L 000000 \"\\xbb \""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::LayoutFixture f;
    f.setup.wrapLine = 1;
    c.configure(f.setup);
    const std::string record = f.layout(c.source, c.selection);
    expectAllPrinted(record, c.source.substr(0, c.source.find("B PROC")));
    if (!c.lines.empty()) {
      // Each line ends in the cut marker, the next starts with the continuation marker.
      const std::size_t head = record.find(" \"" + c.lines[0] + "\"\n");
      ASSERT_NE(head, std::string::npos) << record;
      int x = 0, y = 0, font = 0;
      std::sscanf(record.c_str() + record.rfind('\n', head) + 1, "clip %d %d %d", &x, &y, &font);
      std::string expected;
      for (std::size_t i = 1; i < c.lines.size(); ++i, y += 66) {
        const std::string in = " " + std::to_string(font) + " ", next = std::to_string(y + 66);
        expected += "text 4578 " + std::to_string(y) + in + "L 000000 \"...\"\ntext 146 " + next + in +
                    "L 000000 \"\\xbb \"\nclip 212 " + next + in + "000000 212 " + next + " 4578 " +
                    std::to_string(y + 132) + " \"" + c.lines[i] + "\"\n";
      }
      EXPECT_EQ(record.substr(head + c.lines[0].size() + 4, expected.size()), expected);
    }
    if (c.pages == 0) continue;
    EXPECT_EQ(record.find("page " + std::to_string(c.pages + 1) + "\n"), std::string::npos);
    EXPECT_NE(record.find(c.lastPage, record.find("page " + std::to_string(c.pages) + "\n")),
              std::string::npos) << record;
  }
}

TEST(WrapSplit, EveryCharacterOfARealFileOnNarrowColumns) {
  const std::string root = test::corpusDir();
  if (root.empty()) GTEST_SKIP() << "no corpus";
  auto source = test::readRealFile(root + "/real/jslarve__CSVParseClass/CSVReader.clw");
  ASSERT_TRUE(source);
  test::LayoutFixture f;
  f.setup.wrapLine = 1;
  f.setup.columns = 6;
  f.setup.keywordsUppercase = 0;
  expectAllPrinted(f.layout(*source), *source);
}

}  // namespace
}  // namespace tarn
