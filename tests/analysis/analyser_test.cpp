#include "analysis/analyser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/analysis_error.h"
#include "analysis/dump.h"

namespace tarn {
namespace {

struct Analysed {
  TokenList tokens;
  Structure structure;
};

void run(Analysed& a, std::string_view text, bool includeComment = false, bool clarion = true,
         bool lineBeforeUnit = false) {
  AnalyseOptions o;
  o.includePrecedingComment = includeComment;
  o.lex.lineBeforeUnit = lineBeforeUnit;
  analyse(text, clarion, o, a.tokens, a.structure);
}

/// "line:text" of each token, for unit and embed lists.
std::vector<std::string> entries(const std::vector<TToken*>& list) {
  std::vector<std::string> out;
  for (const TToken* t : list) out.push_back(std::to_string(t->line) + ":" + std::string(t->view()));
  return out;
}

/// "FLAG line:text" for every token carrying one of the walk's flags.
std::vector<std::string> marks(const TokenList& tokens) {
  const std::pair<std::uint32_t, const char*> names[] = {{tfUnitStart, "start"},
                                                         {tfBeforeUnit, "before"},
                                                         {tfStructStart, "struct"},
                                                         {tfStructEnd, "end"}};
  std::vector<std::string> out;
  for (const TToken* t = tokens.front(); t; t = t->next())
    for (auto [flag, name] : names)
      if (t->has(flag))
        out.push_back(std::string(name) + " " + std::to_string(t->line) + ":" +
                      escapeDumpText(t->view()));
  return out;
}

using Strings = std::vector<std::string>;

TEST(Analyser, MemberFileWithThreeProcedures) {
  Analysed a;
  run(a,
      "  MEMBER('MAIN')\n"
      "A PROCEDURE\n  CODE\n  RETURN\n"
      "B PROCEDURE\n  CODE\n"
      "C FUNCTION(LONG x)\n  CODE\n  RETURN x\n");
  EXPECT_EQ(entries(a.structure.blocks), (Strings{"2:A", "5:B", "7:C"}));
  EXPECT_EQ(marks(a.tokens), (Strings{"start 2:A", "before 4:\\n", "start 5:B", "before 6:\\n",
                                      "start 7:C"}));
}

TEST(Analyser, ProgramWithMapAndModulePrototypes) {
  Analysed a;
  run(a,
      "  PROGRAM\n"
      "  MAP\n"
      "    MODULE('util')\n"
      "Helper PROCEDURE(LONG),LONG\n"
      "    END\n"
      "Main PROCEDURE\n"
      "  END\n"
      "  CODE\n"
      "  Main\n"
      "Main PROCEDURE\n"
      "  CODE\n"
      "  DO Tidy\n"
      "Tidy ROUTINE\n"
      "  EXIT\n");
  EXPECT_EQ(entries(a.structure.blocks), (Strings{"1:PROGRAM", "10:Main", "13:Tidy"}));
  EXPECT_EQ(marks(a.tokens), (Strings{"start 1:PROGRAM", "end 7:END", "before 9:\\n", "start 10:Main",
                                      "before 12:\\n", "start 13:Tidy"}));
}

TEST(Analyser, WindowStructureMarks) {
  const std::string text =
      "Show PROCEDURE\n"
      "Q QUEUE\n"
      "N   LONG\n"
      "  END\n"
      "! the window\n"
      "! of this procedure\n"
      "Window WINDOW('x'),AT(0,0,100,100)\n"
      "    BUTTON('OK'),USE(?OK)\n"
      "  END\n"
      "  CODE\n";
  Analysed plain;
  run(plain, text);
  EXPECT_EQ(marks(plain.tokens),
            (Strings{"start 1:Show", "end 4:END", "struct 7:WINDOW", "end 9:END"}))
      << "a local QUEUE ends with a mark but has no start";
  Analysed withComment;
  run(withComment, text, true);
  EXPECT_EQ(marks(withComment.tokens),
            (Strings{"start 1:Show", "end 4:END", "struct 5:! the window\\n", "end 9:END"}));
}

TEST(Analyser, UnitsAndStructures) {
  struct Case {
    const char* name;
    const char* text;
    Strings blocks;
    Strings marks;
  };
  const Case cases[] = {
      {"a parameter list opens no structure", "MyProc PROCEDURE(*QUEUE Q, FILE f)\n  CODE\n",
       {"1:MyProc"}, {"start 1:MyProc"}},
      {"keyword units without labels", "  PROGRAM\n  CODE\n", {"1:PROGRAM"}, {"start 1:PROGRAM"}},
      {"an outer structure is a unit", "G GROUP\nA LONG\n  END\nP PROCEDURE\n",
       {"1:G", "4:P"}, {"start 1:G", "before 3:\\n", "start 4:P"}},
      {"ITEMIZE and INTERFACE before the first procedure",
       "Mode ITEMIZE(1),PRE()\nA EQUATE\n  END\nIFoo INTERFACE\nM PROCEDURE\n  END\nP PROCEDURE\n",
       {"1:Mode", "4:IFoo", "7:P"},
       {"start 1:Mode", "before 3:\\n", "start 4:IFoo", "before 6:\\n", "start 7:P"}},
      {"MODULE as an attribute opens nothing",
       "TotalsClass CLASS,TYPE,MODULE('TOTALS.CLW'),LINK('TOTALS.CLW')\nAdd PROCEDURE\n  END\n"
       "Other CLASS, MODULE('X') ! spaced\n  END\nP PROCEDURE\n  CODE\n",
       {"1:TotalsClass", "4:Other", "6:P"},
       {"start 1:TotalsClass", "before 3:\\n", "start 4:Other", "before 5:\\n", "start 6:P"}},
      {"reference types open nothing", "P PROCEDURE\nW &WINDOW\nQ &QUEUE\n  CODE\nR PROCEDURE\n",
       {"1:P", "5:R"}, {"start 1:P", "before 4:\\n", "start 5:R"}},
      {"a structure word after a comma on the next line counts",
       "P PROCEDURE\nx LONG,\n  WINDOW('a')\n  END\nR PROCEDURE\n", {"1:P", "5:R"},
       {"start 1:P", "struct 3:WINDOW", "end 4:END", "before 4:\\n", "start 5:R"}},
      {"procedures inside a structure of a unit start no unit",
       "P PROCEDURE\nC CLASS\nM PROCEDURE\n  END\n  CODE\n", {"1:P"}, {"start 1:P", "end 4:END"}},
      {"a second group right after a first is examined",
       "A PROCEDURE\n  CODE\n  x(1)(PROCEDURE)\n", {"1:A", "3:PROCEDURE"},
       {"start 1:A", "before 3:(", "start 3:PROCEDURE"}},
      {"dots close structures", "P PROCEDURE\nQ QUEUE.\nW REPORT\n  .\n", {"1:P"},
       {"start 1:P", "end 2:.", "struct 3:REPORT", "end 4:."}},
      {"a file ending right after a bracket group", "A PROCEDURE\n  CODE\n  MESSAGE('done')",
       {"1:A"}, {"start 1:A"}},
      {"an END before the first unit as the last token", "  END", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Analysed a;
    run(a, c.text);
    EXPECT_EQ(entries(a.structure.blocks), c.blocks);
    EXPECT_EQ(marks(a.tokens), c.marks);
  }
}

// The terminator is looked for in the lines as the file holds them, in its
// case, whatever the settings; an omitted embed comment is no embed point.
TEST(Analyser, OmittedBlocks) {
  struct Case {
    const char* name;
    const char* text;
    Strings marks;
  };
  const Case cases[] = {
      {"terminator on a comment line; directives inside are not followed",
       "  OMIT('=''=') END\n  OMIT('**')\nX PROCEDURE\n! **\n  END\n! end ='=\nP PROCEDURE\n",
       {"start 7:P"}},
      {"terminator only on the OMIT line or in another case: the block runs to the end",
       "P PROCEDURE\n  OMIT('End') ! End\nQ PROCEDURE\nW WINDOW\n  END\n  x((\n"
       "  ! Before Embed Point: %S) DESC(Setup) ARG()\n",
       {"start 1:P"}},
      {"conditional OMIT and COMPILE are walked",
       "  OMIT('**',_X_)\n  COMPILE('**')\nP PROCEDURE\n! **\n",
       {"start 3:P"}},
      {"a lower-case terminator is not met by a keyword upper-cased",
       "  PROGRAM\n  OMIT('end')\nX PROCEDURE\n  END\n  end\nY PROCEDURE\n  CODE\n",
       {"start 1:PROGRAM", "before 5:\\n", "start 6:Y"}},
      {"an upper-case terminator is not met by the keyword in lower case",
       "  PROGRAM\n  OMIT('END')\nX PROCEDURE\n  end\nY PROCEDURE\n  END\nZ PROCEDURE\n",
       {"start 1:PROGRAM", "before 6:\\n", "start 7:Z"}},
      {"a tab in the terminator is met by the tab in the file",
       "  PROGRAM\n  OMIT('\t**')\nX PROCEDURE\n\t** \nY PROCEDURE\n",
       {"start 1:PROGRAM", "before 4: \\n", "start 5:Y"}},
      {"an embed comment in a closed block",
       "P PROCEDURE\n  OMIT('**')\n  ! Before Embed Point: %S) DESC(Setup) ARG()\n! **\nQ PROCEDURE\n",
       {"start 1:P", "before 4:! **\\n", "start 5:Q"}},
  };
  struct Setting {
    const char* name;
    bool uppercase;
    int tabWidth;
  };
  for (const Setting& s : {Setting{"default", false, 2}, Setting{"upper case", true, 2},
                           Setting{"tab 8", false, 8}})
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(s.name) + ": " + c.name);
      Analysed a;
      AnalyseOptions o;
      o.lex.keywordsUppercase = s.uppercase;
      o.lex.tabWidth = s.tabWidth;
      analyse(c.text, true, o, a.tokens, a.structure);
      EXPECT_EQ(marks(a.tokens), c.marks);
      EXPECT_EQ(a.structure.blocks.size(),
                static_cast<std::size_t>(std::count_if(c.marks.begin(), c.marks.end(), [](const std::string& m) {
                  return m.rfind("start", 0) == 0;
                })));
      EXPECT_TRUE(a.structure.embeds.empty());
      for (const TToken* t = a.tokens.front(); t; t = t->next())
        EXPECT_FALSE(t->has(tfEmbedBefore | tfEmbedAfter)) << t->line;
    }
}

TEST(Analyser, PrecedingCommentBlocks) {
  struct Case {
    const char* name;
    const char* text;
    Strings marks;
  };
  const Case cases[] = {
      {"only comments above the first label: from the second token",
       "! one\n! two\nA PROCEDURE\n", {"start 2:! two\\n"}},
      {"a comment behind code is not part of the block",
       "A PROCEDURE\n  CODE\n  x = 1 ! set\n! about B\n  ! more\nB PROCEDURE\n",
       {"start 1:A", "before 3: ! set\\n", "start 4:! about B\\n"}},
      {"an empty line ends the block", "A PROCEDURE\n! old\n\n! about B\nB PROCEDURE\n",
       {"start 1:A", "before 3:\\n", "start 4:! about B\\n"}},
      {"no comment: the label itself", "A PROCEDURE\n  CODE\nB PROCEDURE\n",
       {"start 1:A", "before 2:\\n", "start 3:B"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Analysed a;
    run(a, c.text, true);
    EXPECT_EQ(marks(a.tokens), c.marks);
    EXPECT_TRUE(a.structure.blocks.front()->is(tcLabel)) << "the list keeps the label";
  }
}

TEST(Analyser, Errors) {
  struct Case {
    const char* name;
    std::string text;
    const char* message;
  };
  std::string elevenBrackets = "A PROCEDURE\n  CODE\n  x = ";
  for (int i = 0; i < 11; ++i) elevenBrackets += i == 10 ? "\n(" : "(";
  const Case cases[] = {
      {"END before the first unit", "  END\n  x\n", "Error in syntax in line 1: Bad compund structure"},
      {"eleven nested outer structures",
       "A GROUP\nB GROUP\nC GROUP\nD GROUP\nE GROUP\nF GROUP\nG GROUP\nH GROUP\nI GROUP\nJ GROUP\n"
       "K GROUP\nx\n",
       "Error in syntax in line 11: Bad compund structure"},
      {"eleven nested brackets", elevenBrackets,
       "Error in syntax in line 4: Bad brackets () pair matching"},
      {"unclosed bracket at the end", "A PROCEDURE\n  CODE\n  MESSAGE('x'\n",
       "Line 3: Token is zero after ruling out parameter declarations"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Analysed a;
    try {
      run(a, c.text);
      ADD_FAILURE() << "no error";
    } catch (const AnalysisError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_GT(a.tokens.count(), 0) << "the tokens stay";
  }
  Analysed ten;
  EXPECT_NO_THROW(run(ten, "A PROCEDURE\n  CODE\n  x = ((((((((((1))))))))))\n"));
}

TEST(Analyser, EmbedList) {
  Analysed a;
  run(a,
      "A PROCEDURE\n"
      "  CODE\n"
      "  ! Before Embed Point: %ProcedureSetup) DESC(Procedure Setup) ARG()\n"
      "  x = 1\n"
      "  ! After Embed Point: %ProcedureSetup) DESC(Procedure Setup) ARG()\n"
      "  DO(x) ! Before Embed Point: %Behind) DESC(behind brackets) ARG()\n"
      "  ! Before Embed Point: %Own) DESC(own line) ARG(1)\n");
  EXPECT_EQ(entries(a.structure.embeds),
            (Strings{"3:  ! Before Embed Point: %ProcedureSetup) DESC(Procedure Setup) ARG()\n",
                     "7:  ! Before Embed Point: %Own) DESC(own line) ARG(1)\n"}));
}

TEST(Analyser, PlainTextAndEmptyFiles) {
  for (bool clarion : {true, false}) {
    Analysed empty;
    run(empty, "", false, clarion);
    EXPECT_EQ(empty.tokens.count(), 0);
    EXPECT_TRUE(empty.structure.blocks.empty());
    EXPECT_TRUE(empty.structure.embeds.empty());
  }
  Analysed lineBefore;
  run(lineBefore, "", false, true, true);
  EXPECT_EQ(lineBefore.tokens.count(), 1);
  Analysed plain;
  run(plain, "A PROCEDURE(x\n  ! Before Embed Point: %x) DESC(a) ARG(b)\nB PROCEDURE\n", false, false);
  EXPECT_TRUE(plain.structure.blocks.empty());
  EXPECT_TRUE(plain.structure.embeds.empty());
}

TEST(Analyser, ListsGrowBeyondNineHundredNinetyNine) {
  std::string text;
  for (int i = 0; i < 1500; ++i)
    text += "P" + std::to_string(i) + " PROCEDURE\n  ! Before Embed Point: %e) DESC(d) ARG()\n";
  Analysed a;
  run(a, text);
  ASSERT_EQ(a.structure.blocks.size(), 1500u);
  ASSERT_EQ(a.structure.embeds.size(), 1500u);
  EXPECT_EQ(a.structure.blocks[1499]->view(), "P1499");
  EXPECT_EQ(a.structure.embeds[1499]->line, 3000);
}

TEST(EmbedDescription, Texts) {
  struct Case {
    std::string comment;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"! Before Embed Point: %X) DESC(Window Events) ARG(OpenWindow)\n",
       "Window Events   ARG(OpenWindow)"},
      {"!DESC() ARG()\n", "   ARG()"},
      {"! ARG(first) DESC(d) ARG(second)\n", "d   ARG(first) DESC(d) ARG(second)"},
      {"! DESC(no args)\n", std::nullopt},
      {"! ) ARG(x) DESC(y)\n", std::nullopt},
      {"! DESC) ARG(x)\n", std::nullopt},
      {"! DESC(" + std::string(390, 'd') + ") ARG(ab)\n", std::nullopt},
      {"! DESC(" + std::string(388, 'd') + ") ARG(ab)\n", std::string(388, 'd') + "   ARG(ab)"},
  };
  for (const Case& c : cases) EXPECT_EQ(embedDescription(c.comment), c.expected) << c.comment;
}

}  // namespace
}  // namespace tarn
