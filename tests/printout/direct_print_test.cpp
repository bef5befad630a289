#include "printout/direct_print.h"

#include <gtest/gtest.h>

#include <sstream>

#include "printout/print_all.h"
#include "printout/print_document.h"
#include "printout/recording_canvas.h"
#include "support/fakes.h"

namespace tarn {
namespace {

class DirectPrintTest : public ::testing::Test {
 protected:
  DirectPrintTest() {
    fs.create("/p/A.CLW", "A PROCEDURE\n  CODE\n");
    fs.create("/p/B.CLW", "B PROCEDURE\n  CODE\n");
    fs.create("/p/C.CLW", "C PROCEDURE\n  ! Before Embed Point: %x) DESC(d) ARG()\n  y\n");
    fs.create("/p/COMMENTS.CLW", "! only a comment\n");
    fs.create("/p/BAD.CLW", "  END\n  x\n");
    profile.values["INTL/IDATE"] = "1";
  }

  std::vector<std::string> printed() const { return printer.titles; }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages.messages) out.push_back(m.caption + ": " + m.text);
    return out;
  }

  SetupData setup = defaultSetupData();
  test::VirtualFileSystem fs;
  test::FakeFileAttributes attributes;
  test::RecordingMessages messages;
  test::MemoryProfile profile;
  DateFormatter dates{profile, [] { return std::optional<int>(1); }, messages};
  RecordingPrinter printer;
  int printersMade = 0;
  std::vector<std::string> recent;
  PrintServices services{setup, fs, attributes, messages, dates, [] { return std::time_t{0}; },
                         [this]() -> Printer& {
                           ++printersMade;
                           return printer;
                         },
                         [this](const std::string& p) { recent.push_back(p); }};
};

using Strings = std::vector<std::string>;

TEST_F(DirectPrintTest, OneFile) {
  EXPECT_EQ(printCommandLine("/p/A.CLW", services), 0);
  EXPECT_EQ(printed(), Strings{"/p/A.CLW"});
  EXPECT_EQ(printer.withDialog, std::vector<bool>{false}) << "no print dialog";
  EXPECT_EQ(recent, Strings{"/p/A.CLW"});
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(DirectPrintTest, ListFiles) {
  struct Case {
    const char* name;
    std::string list;
    Strings printed;
    Strings messages;
    int status;
  };
  const Case cases[] = {
      {"two paths then an empty line", "/p/A.CLW\n/p/B.CLW\n\n/p/C.CLW\n", {"/p/A.CLW", "/p/B.CLW"}, {}, 0},
      {"CR LF line ends and no final line end", "/p/A.CLW\r\n/p/B.CLW", {"/p/A.CLW", "/p/B.CLW"}, {}, 0},
      {"a missing file is passed over", "/p/NONE.CLW\n/p/B.CLW\n", {"/p/B.CLW"},
       {": Could not read file '/p/NONE.CLW'"}, 1},
      {"nothing to print is silent", "/p/COMMENTS.CLW\n/p/A.CLW\n", {"/p/A.CLW"}, {}, 0},
      {"an analysis error ends the run", "/p/A.CLW\n/p/BAD.CLW\n/p/B.CLW\n", {"/p/A.CLW"},
       {"Unhandled Exception: Error in syntax in line 1: Bad compund structure\nOK to resume?"}, 1},
      {"an empty list", "\n/p/A.CLW\n", {}, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    printer.titles.clear();
    messages.messages.clear();
    fs.create("/p/list.txt", c.list);
    EXPECT_EQ(printCommandLine("@/p/list.txt", services), c.status);
    EXPECT_EQ(printed(), c.printed);
    EXPECT_EQ(texts(), c.messages);
  }
}

TEST_F(DirectPrintTest, ListThatCannotBeRead) {
  EXPECT_EQ(printCommandLine("@/p/missing.txt", services), 1);
  EXPECT_EQ(texts(), Strings{": Could not read file '/p/missing.txt'"});
  EXPECT_EQ(printersMade, 0);
}

TEST_F(DirectPrintTest, ListsAreCutAtFiveHundredFiles) {
  std::string list;
  for (int i = 0; i < 501; ++i) list += "/p/A.CLW\n";
  fs.create("/p/long.txt", list);
  EXPECT_EQ(printCommandLine("@/p/long.txt", services), 0);
  EXPECT_EQ(printed().size(), 500u);
  EXPECT_EQ(texts(), Strings{"Warning: Only the first 500 files of '/p/long.txt' are printed"});
}

TEST_F(DirectPrintTest, PrintModesDecideWhatIsPrinted) {
  for (int mode : {1, 2, 3}) {
    SCOPED_TRACE(mode);
    setup.printMode = mode;
    printer.titles.clear();
    recent.clear();
    for (const char* path : {"/p/A.CLW", "/p/C.CLW"}) printFileDirectly(path, services);
    Strings expected = mode == 1 ? Strings{"/p/A.CLW", "/p/C.CLW"} : Strings{"/p/C.CLW"};
    EXPECT_EQ(printed(), expected);
    EXPECT_EQ(recent.size(), 2u) << "every file enters the recent list, printed or not";
  }
}

TEST_F(DirectPrintTest, FileThatCannotBeOpened) {
  fs.createDirectory("/p/DIR.CLW");
  EXPECT_EQ(printFileDirectly("/p/DIR.CLW", services), DirectPrintResult::NotLoaded);
  EXPECT_EQ(texts(), Strings{"File Error: Unable to open file\n/p/DIR.CLW"});
  EXPECT_TRUE(recent.empty());
  EXPECT_EQ(printersMade, 0) << "the printer is made on first need";
}

TEST_F(DirectPrintTest, PrintAllWithFilters) {
  fs.create("/p/main.clw", "  PROGRAM\n  MAP\n    MODULE('A')\n    END\n  END\n  INCLUDE('EQU.INC')\n  CODE\n");
  fs.create("/p/EQU.INC", "X EQUATE(1)\n");
  attributes.attributes["/p/main.clw"] = kAttrArchive;
  attributes.attributes["/p/A.CLW"] = 0;
  attributes.attributes["/p/EQU.INC"] = kAttrArchive;
  ApplicationData project("/p/main.clw", fs, attributes);
  ASSERT_EQ(project.fileCount(), 3);
  struct Case {
    std::uint32_t options;
    Strings printed;
  };
  const Case cases[] = {
      {0, {"/p/A.CLW", "/p/EQU.INC", "/p/main.clw"}},
      {kPrintClwOnly, {"/p/A.CLW", "/p/main.clw"}},  // any case
      {kPrintModifiedOnly, {"/p/EQU.INC", "/p/main.clw"}},
      {kPrintModifiedOnly | kPrintClwOnly, {"/p/main.clw"}},
  };
  for (const Case& c : cases) {
    printer.titles.clear();
    EXPECT_EQ(printAllSource(project, c.options, services).failures, 0);
    EXPECT_EQ(printed(), c.printed) << c.options;
  }
}

TEST_F(DirectPrintTest, ArchiveMarkIsClearedOnlyByACompleteJob) {
  struct Case {
    const char* name;
    int clearArchive;
    const char* path;
    JobResult answer;
    std::uint32_t bits;
  };
  const Case cases[] = {
      {"printed", 1, "/p/A.CLW", JobResult::Printed, kAttrReadOnly},
      {"option off", 0, "/p/A.CLW", JobResult::Printed, kAttrArchive | kAttrReadOnly},
      {"print dialog cancelled", 1, "/p/A.CLW", JobResult::Cancelled, kAttrArchive | kAttrReadOnly},
      {"job failed", 1, "/p/A.CLW", JobResult::Failed, kAttrArchive | kAttrReadOnly},
      {"nothing to print", 1, "/p/COMMENTS.CLW", JobResult::Printed, kAttrArchive | kAttrReadOnly},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setup.clearArchive = c.clearArchive;
    printer.answer = c.answer;
    attributes.attributes[c.path] = kAttrArchive | kAttrReadOnly;
    auto doc = loadDocument(c.path, analysisOptions(setup), fs, messages);
    ASSERT_TRUE(doc);
    printDocument(*doc, PrintRequest{PrintSelection::wholeFile(), true, false}, services);
    EXPECT_EQ(attributes.attributes[c.path], c.bits);
  }
  attributes.attributes.erase("/p/B.CLW");
  setup.clearArchive = 1;
  printer.answer = JobResult::Printed;
  auto doc = loadDocument("/p/B.CLW", analysisOptions(setup), fs, messages);
  printDocument(*doc, PrintRequest{}, services);
  EXPECT_TRUE(attributes.writes.empty() || attributes.writes.back().first != "/p/B.CLW")
      << "attributes that cannot be read are not written";
}

TEST_F(DirectPrintTest, PrintDocumentSelections) {
  fs.create("/p/S.CLW",
            "A PROCEDURE\n  CODE\n  ! Before Embed Point: %e) DESC(one) ARG()\n  e1\n"
            "  ! After Embed Point: %e) DESC(one) ARG()\n  a1\nB PROCEDURE\n  CODE\n  b1\n");
  auto doc = loadDocument("/p/S.CLW", analysisOptions(setup), fs, messages);
  ASSERT_TRUE(doc);
  ASSERT_EQ(doc->blocks.size(), 2u);
  ASSERT_EQ(doc->embeds.size(), 1u);
  struct Case {
    PrintSelection selection;
    const char* first;  // the first listing text drawn
    const char* last;   // the last one before the end marker
    DirectPrintResult result;
  };
  const Case cases[] = {
      {PrintSelection::wholeFile(), "\"A\"", "\"b1\"", DirectPrintResult::Printed},
      {PrintSelection::unit(0), "\"A\"", "\"a1\"", DirectPrintResult::Printed},
      {PrintSelection::unit(1), "\"B\"", "\"b1\"", DirectPrintResult::Printed},
      {PrintSelection::embed(0), "\"  ! Before Embed Point:", "\"  ! After Embed Point:",
       DirectPrintResult::Printed},
      {PrintSelection::unit(2), "", "", DirectPrintResult::Failed},
  };
  for (const Case& c : cases) {
    printer.jobs.clear();
    EXPECT_EQ(printDocument(*doc, PrintRequest{c.selection, true, true}, services), c.result);
    if (c.result != DirectPrintResult::Printed) {
      EXPECT_TRUE(printer.jobs.empty());
      continue;
    }
    ASSERT_EQ(printer.jobs.size(), 1u);
    // Listing texts are drawn clipped to their column; the frame is not.
    std::vector<std::string> texts;
    std::istringstream lines(printer.jobs[0]);
    for (std::string line; std::getline(lines, line);) {
      std::istringstream f(line);
      std::string op, x, y, font;
      f >> op >> x >> y >> font;
      if (op != "clip") continue;
      std::size_t quote = line.find('"');
      std::string text = line.substr(quote);
      if (text.find_first_not_of("\" ") != std::string::npos && text != "\"\\n\"") texts.push_back(text);
    }
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().rfind(c.first, 0), 0u) << texts.front();
    EXPECT_EQ(texts.back().rfind(c.last, 0), 0u) << texts.back();
  }
}

TEST_F(DirectPrintTest, NothingToPrintIsSaidOnlyWhenAsked) {
  auto doc = loadDocument("/p/COMMENTS.CLW", analysisOptions(setup), fs, messages);
  for (bool say : {false, true}) {
    messages.messages.clear();
    EXPECT_EQ(printDocument(*doc, PrintRequest{PrintSelection::unit(0), true, say}, services),
              DirectPrintResult::NothingToPrint);
    EXPECT_EQ(texts(), say ? Strings{"Tarnlist for Clarion: There is nothing to print"} : Strings{});
  }
  EXPECT_EQ(printersMade, 0) << "no printer is made for nothing";
}

}  // namespace
}  // namespace tarn
