#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarn {
namespace {

using Strings = std::vector<std::string>;
using Action = CommandLine::Action;

struct LineCase {
  const char* name;
  Strings args;
  Action action;
  std::string argument;  ///< the file or @LIST to print
  Strings open;          ///< the files to open
};

const LineCase kLineCases[] = {
    {"NoArguments", {}, Action::Window, "", {}},
    {"OneFilePrints", {"A.CLW"}, Action::Print, "A.CLW", {}},
    {"ListPrints", {"@files.txt"}, Action::Print, "@files.txt", {}},
    {"OpenWithoutFiles", {"--open"}, Action::Window, "", {}},
    {"OpenOneFile", {"--open", "A.CLW"}, Action::Window, "", {"A.CLW"}},
    {"OpenKeepsTheOrder", {"--open", "b.clw", "A.CLW", "c.inc"}, Action::Window, "",
     {"b.clw", "A.CLW", "c.inc"}},
    // A file manager hands over names as they are, '@' and '-' at the front too.
    {"OpenedNamesAreNotLists", {"--open", "@odd.clw", "-x.clw"}, Action::Window, "",
     {"@odd.clw", "-x.clw"}},
    {"OpenAfterDoubleDash", {"--open", "A.CLW", "--", "--odd.clw"}, Action::Window, "",
     {"A.CLW", "--odd.clw"}},
    {"HelpWins", {"--open", "--help"}, Action::Help, "", {}},
    {"ListingOptionsWithAFile", {"--line-numbers", "--page-count", "A.CLW"}, Action::Print, "A.CLW", {}},
    {"ListingOptionsWithAProject", {"--page-count", "--project", "P.CLW", "--pdf", "d"}, Action::Print,
     "", {}},
    {"ListingOptionsWithTheLayout", {"--dump", "layout", "A.CLW", "--line-numbers"}, Action::Dump,
     "A.CLW", {}},
};

TEST(CommandLine, WhatTheLineAsksFor) {
  for (const auto& c : kLineCases) {
    SCOPED_TRACE(c.name);
    const CommandLine line = parseCommandLine(c.args);
    EXPECT_EQ(line.action, c.action) << line.error;
    EXPECT_EQ(line.argument, c.argument);
    EXPECT_EQ(line.openFiles, c.open);
  }
}

struct ErrorCase {
  const char* name;
  Strings args;
  std::string error;
};

const ErrorCase kErrorCases[] = {
    {"TwoFilesToPrint", {"A.CLW", "B.CLW"}, "only one file or @list may be given"},
    {"PrintAndOpen", {"A.CLW", "--open", "B.CLW"}, "--open goes before the files it opens"},
    {"OpenWithPdf", {"--open", "A.CLW", "--pdf", "out.pdf"}, "--open takes only the files to open"},
    {"OpenWithDump", {"--dump", "tokens", "--open", "A.CLW"},
     "--open takes only the files to open"},
    {"OpenWithProject", {"--open", "--project", "P.CLW"}, "--open takes only the files to open"},
    {"OpenWithLineNumbers", {"--open", "--line-numbers", "A.CLW"}, "--open takes only the files to open"},
    {"LineNumbersAlone", {"--line-numbers"}, "--line-numbers goes with FILE, @LIST, --project or --dump layout"},
    {"PageCountWithTokens", {"--page-count", "--dump", "tokens", "A.CLW"},
     "--page-count goes with FILE, @LIST, --project or --dump layout"},
    {"UnknownOption", {"--open", "A.CLW", "--opne"}, "unknown option '--opne'"},
};

TEST(CommandLine, LinesThatCannotBeUnderstood) {
  for (const auto& c : kErrorCases) {
    SCOPED_TRACE(c.name);
    const CommandLine line = parseCommandLine(c.args);
    EXPECT_EQ(line.action, Action::Error);
    EXPECT_EQ(line.error, c.error);
  }
}

TEST(CommandLine, ListingOptionsOnlyTurnOnForTheRun) {
  const ListingExtras profile{false, true, false};
  const ListingExtras run =
      withCommandLine(profile, parseCommandLine({"--line-numbers", "A.CLW"}));
  EXPECT_EQ(run, (ListingExtras{true, true, false}));
  EXPECT_EQ(withCommandLine(profile, parseCommandLine({"A.CLW"})), profile);
}

TEST(CommandLine, OpenedFilesKeepWholePaths) {
  EXPECT_EQ(wholePaths({"A.CLW", "/p/B.CLW", "sub/c.inc", "@x.clw"}, "/home/ann"),
            (Strings{"/home/ann/A.CLW", "/p/B.CLW", "/home/ann/sub/c.inc", "/home/ann/@x.clw"}));
  EXPECT_EQ(wholePaths({"A.CLW"}, "/"), Strings{"/A.CLW"});
  EXPECT_EQ(wholePaths({"A.CLW"}, ""), Strings{"A.CLW"}) << "no folder known: as given";
}

TEST(CommandLine, UsageEndsWithTheHelpPage) {
  auto lastLine = [](const std::string& text) {
    const std::string body = text.substr(0, text.size() - 1);
    return body.substr(body.rfind('\n') + 1);
  };
  const std::string found = usageText("/usr/share/tarnlist/quorlo.html", true);
  EXPECT_EQ(lastLine(found), "Help page: /usr/share/tarnlist/quorlo.html");
  EXPECT_EQ(found.back(), '\n');
  EXPECT_NE(found.find("--open FILE..."), std::string::npos);
  EXPECT_EQ(lastLine(usageText("/usr/bin/quorlo.html", false)),
            "Help page: not found (looked for /usr/bin/quorlo.html)");
}

}  // namespace
}  // namespace tarn
