#include "desktop/project_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

// Folders are the platform's UTF-8 names, the names after them the source's
// code page: the lists show both in the code page.
TEST(ProjectListsTest, FoldersOutsideTheProgramFolderShowInTheCodePage) {
  test::VirtualFileSystem fs;
  test::FakeFileAttributes attributes;
  fs.create("/w/app/MAIN.CLW", "  INCLUDE('\xC4.CLW')\n  INCLUDE('B.CLW')\n  INCLUDE('C.CLW')\n");
  fs.create("/w/\xC3\xBC dir/\xC4.CLW", "InA PROCEDURE\n");          // "ü dir"
  fs.create("/w/\xD0\xB6/B.CLW", "InB PROCEDURE\n");                 // a letter cp1252 lacks
  fs.create("/w/plain/C.CLW", "InC PROCEDURE\n");
  ApplicationData app("/w/app/MAIN.CLW", fs, attributes,
                      projectSearch({"/w/\xC3\xBC dir:/w/\xD0\xB6:/w/plain"}, ""));
  ApplicationFileListData files(app, [](int, int, int) { return std::string("d"); });
  ApplicationProcListData procs(app);
  Strings shown, procFiles;
  for (int i = 0; i < files.entryCount(); ++i) shown.emplace_back(files.mainText(i));
  for (int i = 0; i < procs.entryCount(); ++i) procFiles.push_back(procs.rightText(i));
  // The table keeps its order, that of the bytes as found.
  EXPECT_EQ(shown, (Strings{"../plain/C.CLW", "../\xFC dir/\xC4.CLW", "../?/B.CLW", "MAIN.CLW"}));
  EXPECT_EQ(procFiles, (Strings{"../\xFC dir/\xC4.CLW  Line 1", "../?/B.CLW      Line 1",
                                "../plain/C.CLW  Line 1"}));
  files.applyFilter("\xDC");  // the filter is typed in the code page: "Ü"
  ASSERT_EQ(files.shownCount(), 1);
  EXPECT_EQ(files.mainText(files.shownIndex(0)), "../\xFC dir/\xC4.CLW");
}

}  // namespace
}  // namespace tarn
