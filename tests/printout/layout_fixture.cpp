#include "layout_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace tarn::test {

LayoutFixture::LayoutFixture() : setup(defaultSetupData()) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  profile.values["INTL/IDATE"] = "1";
}

LayoutFixture::~LayoutFixture() = default;

std::unique_ptr<TFileDataSource> LayoutFixture::load(const std::string& source,
                                                     const std::string& path) {
  fs.create(path, source, kModifiedAt);
  AnalyseOptions options;
  options.lex.tabWidth = setup.tabWidth;
  options.lex.keywordsUppercase = setup.keywordsUppercase != 0;
  options.lex.lineBeforeUnit = setup.lineBeforeUnit != 0;
  options.includePrecedingComment = setup.includePrecedingComment != 0;
  return loadDocument(path, options, fs, messages);
}

std::string LayoutFixture::record(TFileDataSource& doc, Selection selection, int* pages,
                                  PageRange range, DocumentInfo* info) {
  PrintSelection which = PrintSelection::wholeFile();
  if (selection.unit >= 0) which = PrintSelection::unit(static_cast<std::size_t>(selection.unit));
  if (selection.embed >= 0) which = PrintSelection::embed(static_cast<std::size_t>(selection.embed));
  PrintContext context{setup, dates, [] { return kPrintedAt; }, extras};
  RecordingPrinter printer;
  printer.range = range;
  auto made = makePrintout(doc, which, context);
  if (!made) {
    ADD_FAILURE() << "no such unit or embed point";
    return {};
  }
  TMyPrintout& printout = *made;
  printer.print(printout, false);
  if (info) *info = printout.documentInfo();
  if (pages) {
    *pages = 0;
    for (std::size_t at = 0; (at = printer.jobs[0].find("page ", at)) != std::string::npos; ++at)
      if (at == 0 || printer.jobs[0][at - 1] == '\n') ++*pages;
  }
  return printer.jobs.front();
}

std::string LayoutFixture::layout(const std::string& source, Selection selection,
                                  const std::string& path) {
  auto doc = load(source, path);
  if (!doc) {
    ADD_FAILURE() << "not loaded";
    return {};
  }
  return record(*doc, selection);
}

void expectGolden(const std::string& name, const std::string& actual) {
  std::string path = std::string(TARNLIST_TEST_DATA_DIR) + "/layout/" + name + ".txt";
  if (std::getenv("TARNLIST_UPDATE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  auto expected = readRealFile(path);
  ASSERT_TRUE(expected) << "missing golden file " << path
                        << " (tools/update-golden.sh writes it)";
  if (*expected == actual) return;
  // Point at the first differing line rather than printing two whole pages.
  std::size_t line = 1, at = 0;
  while (at < expected->size() && at < actual.size() && (*expected)[at] == actual[at]) {
    if (actual[at] == '\n') ++line;
    ++at;
  }
  auto lineAt = [](const std::string& s, std::size_t pos) {
    std::size_t b = s.rfind('\n', pos == 0 ? 0 : pos - 1);
    b = b == std::string::npos ? 0 : b + 1;
    return s.substr(b, s.find('\n', b) - b);
  };
  ADD_FAILURE() << name << ": differs from " << path << " at line " << line << "\n  expected: "
                << lineAt(*expected, at) << "\n  actual:   " << lineAt(actual, at);
}

}  // namespace tarn::test
