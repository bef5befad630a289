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
  for (const Case& c : cases) EXPECT_EQ(renumberReferences(c.body, 100), c.moved) << c.body;
}

TEST(PdfRenumberTest, AnAdoptedFileKeepsItsObjectsAndTheirReferences) {
  auto part = PdfFile::inMemory();
  const int a = part->reserve(), b = part->reserve(), never = part->reserve();
  part->object(a, "<</Next " + std::to_string(b) + " 0 R>>");
  part->stream(b, "/Type/X", "data", false);
  (void)never;
  const std::string path = ::testing::TempDir() + "adopted.pdf";
  PdfFile file(path, false);
  ASSERT_TRUE(file.open());
  const int catalog = file.reserve(), info = file.reserve();
  const int offset = file.adopt(*part);
  EXPECT_EQ(offset, 2);
  file.object(catalog, "<</Type/Catalog>>");
  file.object(info, "<<>>");
  ASSERT_TRUE(file.commit(catalog, info));
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_TRUE(f);
  std::string bytes(4096, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  EXPECT_NE(bytes.find("3 0 obj\n<</Next 4 0 R>>"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("4 0 obj\n<</Type/X/Length 4>>stream\ndata\nendstream"), std::string::npos);
  EXPECT_NE(bytes.find("5 0 obj\nnull"), std::string::npos) << "reserved, never written";
  EXPECT_NE(bytes.find("/Size 6"), std::string::npos);
}

}  // namespace
}  // namespace tarn
