#include <gtest/gtest.h>

#include "pdf/pdf_file.h"

namespace tarn {
namespace {

TEST(PdfRenumberTest, OnlyReferencesMove) {
  struct Case {
    const char* body;
    const char* moved;
  };
  const Case cases[] = {
      {"<</Font<</F1 5 0 R/F2 12 0 R>>>>", "<</Font<</F1 105 0 R/F2 112 0 R>>>>"},
      {"[3 0 R 4 0 R]", "[103 0 R 104 0 R]"},
      {"<</Widths[600 0 600]/Length 0>>", "<</Widths[600 0 600]/Length 0>>"},
      // Strings, hex strings, names and comments hold no references.
      {"(5 0 R (nested 6 0 R) \\) 7 0 R)", "(5 0 R (nested 6 0 R) \\) 7 0 R)"},
      {"<3520302052> 9 0 R", "<3520302052> 109 0 R"},
      {"/N5 0 R", "/N5 0 R"},
      {"% 5 0 R\n8 0 R", "% 5 0 R\n108 0 R"},
      {"1 2 R 0 0 R", "1 2 R 0 0 R"},
  };
  const auto up = [](int n) { return n + 100; };
  for (const Case& c : cases) EXPECT_EQ(renumberReferences(c.body, up), c.moved) << c.body;
}

TEST(PdfRenumberTest, AdoptedFilesKeepTheirObjectsAndShareWhatRepeats) {
  // A page's contents, a font program and the dictionary naming both.
  auto part = PdfFile::inMemory();
  const int a = part->reserve(), b = part->reserve(), never = part->reserve(),
            font = part->reserve();
  part->stream(b, "/Type/X", "data", false);
  part->stream(font, "/Length1 4", "font", false);
  part->object(a, "<</Next " + std::to_string(b) + " 0 R/Font " + std::to_string(font) + " 0 R>>");
  (void)never;
  const std::string path = ::testing::TempDir() + "adopted.pdf";
  PdfFile file(path, false);
  ASSERT_TRUE(file.open());
  const int catalog = file.reserve(), info = file.reserve();
  EXPECT_EQ(file.adopt(*part), (std::vector<int>{0, 5, 3, 0, 4}));
  // Adopted again: its own contents, the font and its dictionary shared.
  auto again = PdfFile::inMemory();
  for (int n = 0; n < 4; ++n) again->reserve();
  again->stream(b, "/Type/X", "other", false);
  again->stream(font, "/Length1 4", "font", false);
  again->object(a, "<</Next " + std::to_string(b) + " 0 R/Font " + std::to_string(font) + " 0 R>>");
  EXPECT_EQ(file.adopt(*again), (std::vector<int>{0, 7, 6, 0, 4}));
  file.object(catalog, "<</Type/Catalog>>");
  file.object(info, "<<>>");
  ASSERT_TRUE(file.commit(catalog, info));
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_TRUE(f);
  std::string bytes(4096, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  EXPECT_NE(bytes.find("5 0 obj\n<</Next 3 0 R/Font 4 0 R>>"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("3 0 obj\n<</Type/X/Length 4>>stream\ndata\nendstream"), std::string::npos);
  EXPECT_NE(bytes.find("7 0 obj\n<</Next 6 0 R/Font 4 0 R>>"), std::string::npos);
  EXPECT_EQ(bytes.find("null"), std::string::npos) << "nothing refers to the unwritten object";
  EXPECT_NE(bytes.find("/Size 8"), std::string::npos);
}

}  // namespace
}  // namespace tarn
