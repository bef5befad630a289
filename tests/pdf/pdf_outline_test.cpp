// The outline and document strings of our PDF writer, read back with qpdf.
#include "pdf/pdf_outline.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "pdf/pdf_file.h"
#include "pdf/pdf_text.h"

namespace tarn {
namespace {

std::string run(const std::string& command) {
  std::string out;
  if (std::FILE* p = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
    ::pclose(p);
  }
  return out;
}

TEST(PdfText, StringsAndDates) {
  EXPECT_EQ(pdfTextString(u"Main (1).clw"), "(Main \\(1\\).clw)");
  EXPECT_EQ(pdfTextString(u"\u00E9t\u00E9"), "<FEFF00E9007400E9>");
  EXPECT_EQ(pdfUtf16String(u"A"), std::string("(\xFE\xFF\0A)", 6));
  // U+0A28 and U+0D29 are the bytes of a line end and a bracket each.
  EXPECT_EQ(pdfUtf16String(u"\u0A28\u0D29"), "(\xFE\xFF\\n\\(\\r\\))");
  EXPECT_EQ(pdfUtf16("\xE9\x80"), u"\u00E9\u20AC") << "Windows-1252";
  EXPECT_EQ(pdfUtf16("\xC3\xA9\xE2\x82\xAC"), u"\u00E9\u20AC") << "UTF-8";
  EXPECT_EQ(pdfUtf16("\xF0\x9D\x84\x9E"), u"\U0001D11E") << "a surrogate pair";
  EXPECT_EQ(pdfDate(1796639400), "(D:20261207103000Z)");
  EXPECT_EQ(pdfDate(0), "(D:19700101000000Z)");
}

TEST(PdfOutline, NestedTitlesAndPlacesReadBack) {
  if (run("command -v qpdf").empty()) GTEST_SKIP() << "qpdf is not installed";
  const std::string path =
      (std::filesystem::temp_directory_path() / ("outline-" + std::to_string(::getpid()) + ".pdf"))
          .string();
  PdfFile file(path);
  ASSERT_TRUE(file.open());
  file.reserve();  // 1: catalog
  file.reserve();  // 2: page tree
  std::vector<int> pages;
  for (int i = 0; i < 3; ++i) {
    const int contents = file.reserve(), page = file.reserve();
    file.stream(contents, "", "", false);
    file.object(page, "<</Type/Page/Parent 2 0 R/Contents " + std::to_string(contents) + " 0 R>>");
    pages.push_back(page);
  }
  const std::vector<PdfOutlineItem> items = {
      {u"PROGRAM", 0, 700, {}},
      {u"Main PROCEDURE", 1, 500, {{u"Opening \u00E9t\u00E9", 1, 400, {}}, {u"\U0001D11E", 2, 300, {}}}},
      // Not printed (a page range): its child takes its place.
      {u"Gone PROCEDURE", 7, 100, {{u"Kept", 2, 250, {}}}},
  };
  const int outline = writeOutline(file, items, pages);
  ASSERT_GT(outline, 0);
  std::string kids;
  for (int p : pages) kids += std::to_string(p) + " 0 R ";
  file.object(2, "<</Type/Pages/MediaBox[0 0 612 792]/Count 3/Kids[" + kids + "]>>");
  file.object(1, "<</Type/Catalog/Pages 2 0 R/Outlines " + std::to_string(outline) + " 0 R>>");
  const int info = file.reserve();
  file.object(info, "<<>>");
  ASSERT_TRUE(file.commit(1, info));

  EXPECT_NE(run("qpdf --check '" + path + "' 2>&1").find("No syntax or stream encoding errors"),
            std::string::npos);
  // One line an item: depth, title, page, top, open.
  const std::string got = run(
      "qpdf --json --json-key=outlines '" + path + "' | python3 -c '"
      "import json,sys\n"
      "def walk(items, depth):\n"
      "  for i in items:\n"
      "    print(depth, i[\"title\"], i[\"destpageposfrom1\"], i[\"dest\"][3], i[\"open\"])\n"
      "    walk(i[\"kids\"], depth + 1)\n"
      "walk(json.load(sys.stdin)[\"outlines\"], 0)'");
  EXPECT_EQ(got,
            "0 PROGRAM 1 700 True\n"
            "0 Main PROCEDURE 2 500 False\n"
            "1 Opening \u00E9t\u00E9 2 400 True\n"
            "1 \U0001D11E 3 300 True\n"
            "0 Kept 3 250 True\n");
  std::filesystem::remove(path);
}

TEST(PdfOutline, NothingOnAPageWritesNothing) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("empty-" + std::to_string(::getpid()) + ".pdf")).string();
  PdfFile file(path);
  ASSERT_TRUE(file.open());
  EXPECT_EQ(writeOutline(file, {}, {5}), 0);
  EXPECT_EQ(writeOutline(file, {{u"x", 3, 0, {}}}, {5}), 0);
  file.discard();
}

}  // namespace
}  // namespace tarn
