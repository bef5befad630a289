#include "analysis/lexer.h"

#include <gtest/gtest.h>

#include <string>

#include "analysis/analysis_error.h"
#include "analysis/dump.h"
#include "analysis/source_text.h"

namespace tarn {
namespace {

std::string lexDump(std::string_view text, bool clarion = true, LexOptions options = {}) {
  TokenList tokens;
  lex(text, clarion, options, tokens);
  return dumpTokens(tokens);
}

LexOptions uppercase() {
  LexOptions o;
  o.keywordsUppercase = true;
  return o;
}

LexOptions tabs(int width) {
  LexOptions o;
  o.tabWidth = width;
  return o;
}

// Expected dumps: line, class, flags and text of each token.
struct Case {
  const char* name;
  std::string text;
  std::string expected;
  LexOptions options = {};
  bool clarion = true;
};

TEST(Lexer, ClarionTokens) {
  const Case cases[] = {
      {"comment line and a procedure",
       "! Note\nMyProc PROCEDURE(LONG x)\n",
       "1\t1\t36\t! Note\\n\n"
       "2\t5\t8\tMyProc\n"
       "2\t1\t0\t \n"
       "2\t4\t0\tPROCEDURE\n"
       "2\t7\t0\t(\n"
       "2\t4\t0\tLONG\n"
       "2\t1\t0\t \n"
       "2\t3\t0\tx\n"
       "2\t7\t0\t)\n"
       "2\t1\t4\t\\n\n"},
      {"a keyword in column 1 is a label", "PROGRAM\nCODE\n",
       "1\t5\t8\tPROGRAM\n1\t1\t4\t\\n\n2\t5\t8\tCODE\n2\t1\t4\t\\n\n"},
      {"indentation is a separator without line end", "  CODE\n",
       "1\t1\t0\t  \n1\t4\t0\tCODE\n1\t1\t4\t\\n\n"},
      {"a variable named like a keyword", "  OPEN(Window)\n",
       "1\t1\t0\t  \n1\t0\t0\tOPEN\n1\t7\t0\t(\n1\t4\t0\tWindow\n1\t7\t0\t)\n1\t1\t4\t\\n\n"},
      {"upper-cased words of the tables, labels as written",
       "Window WINDOW\n  open(window)\n",
       "1\t5\t8\tWindow\n1\t1\t0\t \n1\t4\t0\tWINDOW\n1\t1\t4\t\\n\n"
       "2\t1\t0\t  \n2\t0\t0\tOPEN\n2\t7\t0\t(\n2\t4\t0\tWINDOW\n2\t7\t0\t)\n2\t1\t4\t\\n\n",
       uppercase()},
      {"spaces before a tab are dropped", "  \tx", "1\t1\t0\t    \n1\t3\t0\tx\n", tabs(4)},
      {"a tab at the line start", "\tCODE\n", "1\t1\t0\t  \n1\t4\t0\tCODE\n1\t1\t4\t\\n\n"},
      {"comment ends its separator with the line end", "   ! c\n",
       "1\t1\t36\t   ! c\\n\n"},
      {"comment in the last line without line end", "  x ! c",
       "1\t1\t0\t  \n1\t3\t0\tx\n1\t1\t32\t ! c\n"},
      {"comments and strings keep raw tabs", "  x !\ta\n  '\t'",
       "1\t1\t0\t  \n1\t3\t0\tx\n1\t1\t36\t !\\ta\\n\n2\t1\t0\t  \n2\t6\t0\t'\\t'\n"},
      {"keyword before a full stop", "  Queue.Total",
       "1\t1\t0\t  \n1\t4\t0\tQueue\n1\t4\t0\t.\n1\t3\t0\tTotal\n"},
      {"a dotted identifier", "  MyQueue.Total", "1\t1\t0\t  \n1\t3\t0\tMyQueue.Total\n"},
      {"numbers with stops and exponents; minus is an operator", "  1.2.3 12Ee -5",
       "1\t1\t0\t  \n1\t6\t0\t1.2.3\n1\t1\t0\t \n1\t6\t0\t12Ee\n1\t1\t0\t \n1\t7\t0\t-\n"
       "1\t6\t0\t5\n"},
      {"doubled apostrophes give two strings", "  'It''s'",
       "1\t1\t0\t  \n1\t6\t0\t'It'\n1\t6\t0\t's'\n"},
      {"an unclosed string ends before the line end", "  'abc\nx",
       "1\t1\t0\t  \n1\t6\t0\t'abc\n1\t1\t4\t\\n\n2\t5\t8\tx\n"},
      {"continuation bar, then a label", "  a |\nNext",
       "1\t1\t0\t  \n1\t3\t0\ta\n1\t1\t0\t \n1\t7\t0\t|\n1\t1\t4\t\\n\n2\t5\t8\tNext\n"},
      {"words with digits, colons or underscores are not looked up",
       "  Loc:Name LOG10 FLOAT4 _PROC C EVENT:Accepted",
       "1\t1\t0\t  \n1\t3\t0\tLoc:Name\n1\t1\t0\t \n1\t3\t0\tLOG10\n1\t1\t0\t \n"
       "1\t3\t0\tFLOAT4\n1\t1\t0\t \n1\t3\t0\t_PROC\n1\t1\t0\t \n1\t3\t0\tC\n1\t1\t0\t \n"
       "1\t3\t0\tEVENT:Accepted\n"},
      {"equates", "  x = true + False",
       "1\t1\t0\t  \n1\t3\t0\tx\n1\t1\t0\t \n1\t7\t0\t=\n1\t1\t0\t \n1\t8\t0\ttrue\n"
       "1\t1\t0\t \n1\t7\t0\t+\n1\t1\t0\t \n1\t8\t0\tFalse\n"},
      {"letters followed by a quote are one identifier", "  END\"", "1\t1\t0\t  \n1\t3\t0\tEND\"\n"},
      {"keyword at the end of the text", "  end", "1\t1\t0\t  \n1\t4\t0\tend\n"},
      {"characters of no class", "  \\ \x01", "1\t1\t0\t  \n1\t9\t0\t\\\\\n1\t1\t0\t \n1\t9\t0\t\\x01\n"},
      {"blank lines", "\n\n  \n", "1\t1\t4\t\\n\n2\t1\t4\t\\n\n3\t1\t4\t  \\n\n"},
      {"a label after an empty line", "\nL", "1\t1\t4\t\\n\n2\t5\t8\tL\n"},
      {"embed markers", "  ! Before Embed Point: %X) DESC(a) ARG(b)\n  !After Embed Point: %X)\n",
       "1\t1\t100\t  ! Before Embed Point: %X) DESC(a) ARG(b)\\n\n2\t1\t164\t  !After Embed Point: %X)\\n\n"},
      {"the markers are case-sensitive", "! before embed point: %X and more\n",
       "1\t1\t36\t! before embed point: %X and more\\n\n"},
      {"plain text: a.b", "a.b", "1\t9\t0\ta\n1\t9\t0\t.\n1\t9\t0\tb\n", {}, false},
      {"plain text knows no comments or labels", "! x 'y\n\tz",
       "1\t9\t0\t!\n1\t1\t0\t \n1\t9\t0\tx\n1\t1\t0\t \n1\t9\t0\t'y\n1\t1\t4\t\\n\n"
       "2\t1\t0\t  \n2\t9\t0\tz\n",
       {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(lexDump(c.text, c.clarion, c.options), c.expected);
  }
}

TEST(Lexer, AWordAfterACommentLineIsALabel) {
  EXPECT_EQ(lexDump("  !After Embed Point: %X) x\nCODE"),
            "1\t1\t164\t  !After Embed Point: %X) x\\n\n2\t5\t8\tCODE\n");
}

TEST(Lexer, LineBeforeUnitAddsALineEndTokenFirst) {
  LexOptions o;
  o.lineBeforeUnit = true;
  EXPECT_EQ(lexDump("A PROCEDURE\n  CODE", true, o),
            "1\t1\t4\t\\n\n2\t5\t8\tA\n2\t1\t0\t \n2\t4\t0\tPROCEDURE\n2\t1\t4\t\\n\n"
            "3\t1\t0\t  \n3\t4\t0\tCODE\n");
  EXPECT_EQ(lexDump("", true, o), "1\t1\t4\t\\n\n") << "an empty file keeps the extra token";
  EXPECT_EQ(lexDump("x", false, o), "1\t1\t4\t\\n\n2\t9\t0\tx\n");
}

TEST(Lexer, EmptyTextGivesNoTokens) {
  EXPECT_EQ(lexDump(""), "");
  EXPECT_EQ(lexDump("", false), "");
}

TEST(Lexer, TextEndsAtTheFirstNul) {
  EXPECT_EQ(lexDump(std::string("  x\0 y", 6)), "1\t1\t0\t  \n1\t3\t0\tx\n");
}

TEST(Lexer, ATabWithoutTabTextIsAnError) {
  for (bool clarion : {true, false}) {
    TokenList tokens;
    try {
      lex("  x\n\ty", clarion, tabs(0), tokens);
      FAIL() << "no error";
    } catch (const AnalysisError& e) {
      EXPECT_STREQ(e.what(), "Illegal string property in token");
    }
    EXPECT_EQ(tokens.count(), 3) << "tokens made before the error stay";
  }
  EXPECT_NO_THROW(lexDump("no tabs here", true, tabs(0)));
  EXPECT_THROW(lexDump("\t", true, tabs(-5)), AnalysisError);
}

TEST(Lexer, TabWidthIsCutToTheTabTextBuffer) {
  EXPECT_EQ(lexDump("\t", true, tabs(500)), "1\t1\t0\t" + std::string(kMaxTabText, ' ') + "\n");
  EXPECT_EQ(lexDump("\t", true, tabs(50)), "1\t1\t0\t" + std::string(50, ' ') + "\n");
}

TEST(Lexer, LongRunsOfLetters) {
  std::string letters(10000, 'a');
  EXPECT_EQ(lexDump(letters), "1\t5\t8\t" + letters + "\n");
  EXPECT_EQ(lexDump(" " + letters + "("), "1\t1\t0\t \n1\t3\t0\t" + letters + "\n1\t7\t0\t(\n");
}

TEST(Lexer, ConcatenatedTokensReproduceTextWithoutTabs) {
  std::string text =
      "  PROGRAM\n\n  MAP\n    MODULE('x')\nA     PROCEDURE(*QUEUE q),LONG ! proto\n    END\n  END\n"
      "Q QUEUE,PRE(Q)\nName STRING(20)\n  END\n  CODE\n  Q.Name = 'It''s' & 1.5e3 ! x\n"
      "  IF x THEN BREAK.\r\n\x80\x92\xBB\xFF";
  for (bool clarion : {true, false}) {
    TokenList tokens;
    lex(text, clarion, LexOptions{}, tokens);
    std::string joined;
    for (const TToken* t = tokens.front(); t; t = t->next()) {
      ASSERT_GT(t->length, 0u);
      joined.append(t->view());
    }
    EXPECT_EQ(joined, text);
  }
}

}  // namespace
}  // namespace tarn
