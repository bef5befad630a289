#include "printout/header_fit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "layout_fixture.h"
#include "platform/cp1252.h"

namespace tarn {
namespace {

/// Ten units a byte, as a device of one fixed width would measure.
int tenEach(std::string_view t) { return static_cast<int>(t.size()) * 10; }

std::string deepFolder(int levels) {
  std::string folder = "/home/user";
  for (int i = 0; i < levels; ++i) folder += "/level" + std::to_string(i);
  return folder;
}

TEST(HeaderFit, ShortensTheFolderThenTheName) {
  const std::string deep = deepFolder(6) + "/ctReaderWriter_Base.clw";
  const std::string shown = "  ctReaderWriter_Base.clw  (";
  struct Row {
    std::string path;
    std::size_t room;  ///< in characters
    std::string expected;
  } rows[] = {
      {"/src/MAIN.CLW", 40, "  MAIN.CLW  (/src)"},
      {deep, 200, "  ctReaderWriter_Base.clw  (/home/user/level0/level1/level2/level3/level4/level5)"},
      // The first folder and as many of the last ones as fit.
      {deep, shown.size() + 31, shown + "/home/.../level3/level4/level5)"},
      {deep, shown.size() + 17, shown + "/home/.../level5)"},
      {deep, shown.size() + 16, shown + "/home/...)"},
      {deep, shown.size() + 11, shown + "/home/...)"},
      {"C:\\SRC\\LIB\\WIN\\MAIN.CLW", 24, "  MAIN.CLW  (C:\\...\\WIN)"},
      {"C:\\SRC\\LIB\\WIN\\MAIN.CLW", 23, "  MAIN.CLW  (C:\\...)"},
      // Then the name alone, then the name cut at its end.
      {deep, shown.size() + 5, "  ctReaderWriter_Base.clw"},
      {deep, 14, "  ctReaderW..."},
      {deep, 5, "  ..."},
      {deep, 4, "  "},
      {"MAIN.CLW", 10, "  MAIN.CLW"},
      {"MAIN.CLW", 9, "  MAIN..."},
  };
  for (const Row& row : rows) {
    const std::string got = fitDisplayName(row.path, static_cast<int>(row.room) * 10, tenEach);
    EXPECT_EQ(got, row.expected) << row.path << " in " << row.room;
    EXPECT_LE(got.size(), std::max<std::size_t>(row.room, 2)) << row.path;
  }
}

TEST(HeaderFit, CutsNoCharacterInHalf) {
  const std::string name = "/x/\xc3\x9c" "n\xc3\xaf" "c\xc3\xb6" "d\xc3\xa9.clw";  // Ünïcödé.clw
  for (int room = 5; room < 20; ++room) {
    const std::string got = fitDisplayName(name, room * 10, tenEach);
    EXPECT_TRUE(cp1252::isUtf8(got)) << room << ": " << got;
  }
  EXPECT_EQ(fitText("\xc3\x9c\xc3\x9c\xc3\x9c", 50, tenEach), "\xc3\x9c...");
}

/// Header texts of the first page: left, centre and right.
struct Header {
  std::string left, centre, right;
  int leftX = 0, rightX = 0;
};

Header headerOf(const std::string& record) {
  Header h;
  std::istringstream in(record);
  int headerY = -1;
  for (std::string l; std::getline(in, l);) {
    int x = 0, y = 0, slot = 0;
    char align = 0;
    if (std::sscanf(l.c_str(), "text %d %d %d %c", &x, &y, &slot, &align) != 4 || slot != 11)
      continue;
    const std::string text = l.substr(l.find('"') + 1, l.rfind('"') - l.find('"') - 1);
    if (headerY < 0 && (align == 'L' || align == 'C') && text.find("Modified") == std::string::npos &&
        text.find("Printed") == std::string::npos)
      headerY = y;
    if (y != headerY) continue;
    if (align == 'L') h.left = text, h.leftX = x;
    if (align == 'C') h.centre = text;
    if (align == 'R') {
      h.right = text, h.rightX = x;
      break;
    }
  }
  return h;
}

TEST(HeaderFit, PageTextStaysWholeOnTheTestDevice) {
  // The test device's header font is 66 units high and 33 wide.
  constexpr int kChar = 33;
  const std::string deep = deepFolder(24) + "/ctReaderWriter_Base.clw";
  const std::string longName = "/src/" + std::string(220, 'N') + ".CLW";
  struct Row {
    std::string path;
    bool portrait;
    int columns;
    bool pageCount;
    const char* headerText;
    std::string expectedStart;  ///< what the left text begins with
    bool shortened;             ///< "..." in it
  } rows[] = {
      {"/src/MAIN.CLW", false, 2, false, "", "  MAIN.CLW  (/src)", false},
      {"/src/MAIN.CLW", true, 1, true, "Confidential", "  MAIN.CLW  (/src)", false},
      {deep, true, 1, false, "", "  ctReaderWriter_Base.clw  (/home/...", true},
      {deep, true, 1, true, "", "  ctReaderWriter_Base.clw  (/home/...", true},
      {deep, false, 10, true, "", "  ctReaderWriter_Base.clw  (/home/...", true},
      {deep, true, 10, false, "", "  ctReaderWriter_Base.clw  (/home/...", true},
      {deep, false, 1, true, "Acme Corporation - internal", "  ctReaderWriter_Base.clw  (/home/...",
       true},
      {longName, true, 1, true, "", "  NNNN", true},
      // A file name that does not fit alone leaves no room for the header text.
      {longName, false, 3, false, "Header", "  NNNN", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path.substr(0, 40) + (row.portrait ? " portrait " : " landscape ") +
                 std::to_string(row.columns));
    test::LayoutFixture f;
    f.setup.portrait = row.portrait;
    f.setup.landscape = !row.portrait;
    f.setup.columns = row.columns;
    std::strncpy(f.setup.headerText, row.headerText, sizeof f.setup.headerText - 1);
    f.extras.pageCount = row.pageCount;
    std::string source;
    for (int i = 0; i < 300; ++i) source += "X" + std::to_string(i) + " PROCEDURE\n  CODE\n";
    const Header h = headerOf(f.layout(source, {}, row.path));
    ASSERT_FALSE(h.right.empty());
    EXPECT_EQ(h.right.rfind(row.pageCount ? "  Page 1 of " : "  Page 1  ", 0), 0u) << h.right;
    EXPECT_EQ(h.left.rfind(row.expectedStart, 0), 0u) << h.left;
    EXPECT_EQ(h.left.find("...") != std::string::npos, row.shortened) << h.left;
    const int leftEnd = h.leftX + static_cast<int>(h.left.size()) * kChar;
    const int pageStart = h.rightX - static_cast<int>(h.right.size()) * kChar;
    EXPECT_LE(leftEnd, pageStart) << "two blanks at least between " << h.left << " and " << h.right;
    EXPECT_EQ(h.centre.empty(), !*row.headerText || row.path == longName) << h.centre;
    if (!h.centre.empty()) {
      EXPECT_EQ(h.centre, row.headerText);
    }
  }
}

}  // namespace
}  // namespace tarn
