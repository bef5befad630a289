#include <gtest/gtest.h>

#include "desktop/commands.h"
#include "desktop/layouts.h"
#include "desktop/recent_files.h"
#include "support/fakes.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

TEST(RecentFilesTest, SurviveRunsNewestFirstWithoutDuplicates) {
  const std::string long259 = "/p/" + std::string(252, 'n') + ".CLW";
  const std::string long260 = long259 + "X";
  test::MemoryProfile profile;
  profile.values = {{"TARNLIST/FILE1", "/p/one.clw"}, {"TARNLIST/FILE2", long260},
                    {"TARNLIST/FILE3", "/p/three.clw"}, {"TARNLIST/FILE4", ""},
                    {"TARNLIST/FILE5", "/p/stale.clw"}};
  RecentFiles run1;
  run1.load(profile);
  EXPECT_EQ(run1.entries(), (Strings{"/p/one.clw", "/p/three.clw"}));
  EXPECT_FALSE(run1.add("/p/one.clw"));
  EXPECT_TRUE(run1.add("/p/new.clw"));
  run1.save(profile);
  EXPECT_EQ(profile.values["TARNLIST/FILE4"], "");
  EXPECT_EQ(profile.values["TARNLIST/FILE5"], "") << "stale entry must not come back";

  RecentFiles run2;
  run2.load(profile);
  EXPECT_EQ(run2.entries(), run1.entries());
  EXPECT_TRUE(run2.add("/p/a.clw"));
  EXPECT_TRUE(run2.add("/P/ONE.CLW")) << "case counts";
  EXPECT_FALSE(run2.add(long260));
  EXPECT_TRUE(run2.add(long259));
  run2.save(profile);

  RecentFiles run3;
  run3.load(profile);
  EXPECT_EQ(run3.entries(), (Strings{long259, "/P/ONE.CLW", "/p/a.clw", "/p/new.clw",
                                     "/p/one.clw"}));
}

TEST(RecentFilesTest, MenuTextDoublesAmpersands) {
  EXPECT_EQ(RecentFiles::menuText(0, "/p/R&D/a&b.clw"), "&1   a&&b.clw  (/p/R&&D)");
  EXPECT_EQ(RecentFiles::menuText(4, "&x.clw"), "&5   &&x.clw");
}

TEST(LayoutTest, FileWindowForOneFont) {
  // Height 16, internal leading 3, average width 9, widest 14; "Close" 35x16, "Filter: " 49x16.
  const WindowFontMeasures f{{16, 0, 3, 9, 14}, 35, 16, 49, 16};
  // m = 11, h = 5, rowH = 23, editH = 21, btnW = 63, dividerY = 435, panelH = 195, right = 618.
  const ViewLayout v = layOutView(640, 480, f);
  EXPECT_EQ(v.dividerY, 435);
  EXPECT_EQ(v.buttonWidth, 63);
  const PanelLayout expected[] = {
      {{11, 5, 618, 21}, {11, 21, 618, 174}, {11, 181, 60, 195}, {60, 179, 206, 200},
       {555, 179, 618, 202}, {}},
      {{11, 217, 618, 233}, {11, 233, 618, 386}, {11, 393, 60, 407}, {60, 391, 206, 412},
       {555, 391, 618, 414}, {}},
  };
  for (int p = 0; p < 2; ++p) {
    EXPECT_EQ(v.panels[p].title, expected[p].title) << p;
    EXPECT_EQ(v.panels[p].list, expected[p].list) << p;
    EXPECT_EQ(v.panels[p].label, expected[p].label) << p;
    EXPECT_EQ(v.panels[p].edit, expected[p].edit) << p;
    EXPECT_EQ(v.panels[p].button, expected[p].button) << p;
  }
  EXPECT_EQ(v.bottomButtons[0], (Rect{555, 446, 618, 469}));
  EXPECT_EQ(v.bottomButtons[1], (Rect{481, 446, 544, 469}));
  EXPECT_EQ(v.bottomButtons[2], (Rect{407, 446, 470, 469}));

  // The project window: "&Edit" left of each open button, the wider print-all
  // button (2 x 14 + 100) left of "&Close".
  const ViewLayout p = layOutProjectView(640, 480, f, 100);
  EXPECT_EQ(p.panels[0].secondButton, (Rect{481, 179, 544, 202}));
  EXPECT_EQ(p.bottomButtons[0], (Rect{555, 446, 618, 469}));
  EXPECT_EQ(p.bottomButtons[1], (Rect{416, 446, 544, 469}));
}

// At its minimum size a window still shows three entries a list, and no two
// of its controls overlap; for both kinds of window and a few fonts.
TEST(LayoutTest, MinimumSizeKeepsEveryControlUsable) {
  const WindowFontMeasures fonts[] = {{{16, 0, 3, 9, 14}, 35, 16, 49, 16},
                                      {{13, 0, 2, 6, 12}, 28, 13, 38, 13},
                                      {{40, 0, 8, 22, 40}, 90, 40, 120, 40}};
  for (const WindowFontMeasures& f : fonts)
    for (int printAll : {0, 100}) {
      const Rect least = minimumViewSize(f, printAll);
      const ViewLayout v = printAll ? layOutProjectView(least.right, least.bottom, f, printAll)
                                    : layOutView(least.right, least.bottom, f);
      const std::string what = std::to_string(f.tm.tmHeight) + "/" + std::to_string(printAll);
      for (const PanelLayout& p : v.panels) {
        EXPECT_GE(p.list.bottom - p.list.top, 3 * f.tm.tmHeight) << what;
        EXPECT_LT(p.edit.right, printAll ? p.secondButton.left : p.button.left) << what;
        EXPECT_GE(p.list.left, 0) << what;
      }
      const int buttons = printAll ? 2 : 3;
      for (int b = 0; b < buttons; ++b) {
        EXPECT_GE(v.bottomButtons[b].left, 0) << what;
        EXPECT_LE(v.bottomButtons[b].bottom, least.bottom) << what;
        if (b > 0) {
          EXPECT_LT(v.bottomButtons[b].right, v.bottomButtons[b - 1].left) << what;
        }
      }
      EXPECT_LE(v.panels[1].button.bottom, v.dividerY) << what;
    }
}

TEST(LayoutTest, CascadeStepsDownAndStartsAgainAtTheTop) {
  struct Case {
    int width, height, step;
    std::vector<Rect> places;
  };
  const Case cases[] = {
      {1000, 700, 100, {{0, 0, 750, 525}, {100, 100, 850, 625}, {0, 0, 750, 525}}},
      {300, 200, 20, {{0, 0, 300, 200}, {0, 0, 300, 200}}},  // never larger than the area
      {2000, 1000, 30, {{0, 0, 1500, 750}, {30, 30, 1530, 780}, {60, 60, 1560, 810}}},
  };
  for (const Case& c : cases) {
    CascadePlaces places;
    for (const Rect& expected : c.places)
      EXPECT_EQ(places.next(c.width, c.height, c.step), expected) << c.width;
    places.restart();
    EXPECT_EQ(places.next(c.width, c.height, c.step), c.places.front()) << "after restart";
  }
}

TEST(LayoutTest, PreviewPageKeepsItsShapeInsideTheClient) {
  const Rect wide{10, 20, 1010, 620}, tall{10, 20, 610, 1020};  // room 970x570, 570x970
  struct Case {
    Rect client;
    int pageW, pageH;
    Rect page;
  };
  const Case cases[] = {
      {wide, 2550, 3300, {25, 35, 441, 605}},  // 73 % of the height
      {wide, 3300, 2550, {25, 35, 720, 605}},  // 122 % of the height
      {tall, 2550, 3300, {25, 35, 595, 730}},  // too wide by height: 122 % of the width
      {tall, 3300, 2550, {25, 35, 595, 451}},  // 73 % of the width
  };
  for (const Case& c : cases)
    EXPECT_EQ(previewPageRect(c.client, c.pageW, c.pageH), c.page) << c.pageW << "x" << c.pageH;

  // Inside and never negative, whatever the sizes.
  for (Rect client : {wide, tall, Rect{0, 0, 31, 31}, Rect{5, 5, 12, 40}, Rect{0, 0, 0, 0}})
    for (auto [w, h] : {std::pair{2550, 3300}, {1, 100000}, {100000, 1}, {0, 3300}, {2550, 0}}) {
      const Rect r = previewPageRect(client, w, h);
      EXPECT_TRUE(r.left >= client.left && r.top >= client.top && r.right <= client.right &&
                  r.bottom <= client.bottom && r.left <= r.right && r.top <= r.bottom)
          << client.right << "x" << client.bottom << " page " << w << "x" << h;
    }
}

TEST(CommandsTest, FrameAndPanelEnables) {
  struct FrameCase {
    FrameState state;
    bool open, print;
  };
  const FrameCase frames[] = {
      {{25, true, false, 25}, true, true},
      {{26, true, false, 27}, false, true},
      {{0, false, false, 0}, true, false},
      {{1, true, true, 1}, true, false},
  };
  for (const auto& c : frames) {
    const FrameEnables e = frameEnables(c.state);
    const std::string what = std::to_string(c.state.fileWindowCount);
    EXPECT_TRUE(e.open == c.open && e.openProject == c.open && e.printSetup == c.open) << what;
    EXPECT_TRUE(e.print == c.print && e.preview == c.print) << what;
    EXPECT_EQ(e.closeWindow, c.state.childCount > 0) << what;
    EXPECT_EQ(e.stepWindows, c.state.childCount > 1) << what;
  }
  struct ListCase {
    int position;
    const char* title;
    const char* text;
  };
  const ListCase lists[] = {{0, "  A.CLW  (/p)", "&1   A.CLW  (/p)"},
                            {8, "Project   R&D.CLW", "&9 Project   R&&D.CLW"},
                            {9, "  J.CLW", "10   J.CLW"}};
  for (const auto& c : lists) EXPECT_EQ(windowListText(c.position, c.title), c.text);
  struct PanelCase {
    PanelState state;
    bool list, button;
    int select;
  };
  const PanelCase panels[] = {
      {{0, -1}, false, false, -1}, {{0, 2}, false, false, -1}, {{3, -1}, true, true, 0},
      {{3, 3}, true, true, 0},     {{3, 2}, true, true, -1},
  };
  for (const auto& c : panels) {
    const PanelEnables e = panelEnables(c.state);
    EXPECT_TRUE(e.list == c.list && e.button == c.button && e.select == c.select)
        << c.state.shownCount << " shown, selected " << c.state.selected;
  }
}

}  // namespace
}  // namespace tarn
