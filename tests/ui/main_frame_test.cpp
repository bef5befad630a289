#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <QFile>
#include <QMdiSubWindow>

#include <algorithm>

#include "desktop/help_location.h"
#include "ui/column_listbox.h"
#include "ui/menu_key_style.h"
#include "ui_fixture.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;
using test::UiFixture;

class MainFrameTest : public ::testing::Test, public UiFixture {
 protected:
  MainFrameTest() {
    fs.create("/p/A.CLW", "A PROCEDURE\n  CODE\n  a1\n");
    fs.create("/p/B.CLW", "B PROCEDURE\n  CODE\n  b1\n");
    fs.create("/p/C.INC", "C EQUATE(1)\n");
    fs.create("/p/BAD.CLW", "  END\n  x\n");
  }
};

TEST_F(MainFrameTest, OpensFilesInTheOrderChosen) {
  MainFrame& f = start();
  f.openDialog = [](QWidget*, const std::string&) { return Strings{"/p/B.CLW", "/p/A.CLW", "/p/C.INC"}; };
  f.action(kCmdOpen)->trigger();
  EXPECT_EQ(titles(), (Strings{"  B.CLW  (/p)", "  A.CLW  (/p)", "  C.INC  (/p)"}));
  EXPECT_EQ(varnixWindowView::fileWindowCount(), 3);
  EXPECT_EQ(f.recentFiles().entries(), (Strings{"/p/C.INC", "/p/A.CLW", "/p/B.CLW"}));
  EXPECT_EQ(f.action(25000)->text().toStdString(), "&1   C.INC  (/p)");
  f.openFile("/p/NONE.CLW");
  EXPECT_EQ(said(), Strings{"File Error: Unable to open file\n/p/NONE.CLW"});
  f.mdi()->closeAllSubWindows();
  settle();
  EXPECT_EQ(varnixWindowView::fileWindowCount(), 0) << "closed windows are deleted";
}

// The keyboard way between windows: the numbered list, stepping, closing,
// and the previously active window back after a close.
TEST_F(MainFrameTest, WindowMenuListsStepsAndCloses) {
  MainFrame& f = start({"/p/A.CLW", "/p/B.CLW", "/p/C.INC"});
  f.activateWindow();
  settle();
  auto active = [&f] { return f.mdi()->activeSubWindow()->windowTitle().toStdString(); };
  auto listed = [&f] {
    emit f.windowMenu()->aboutToShow();
    Strings out;
    for (QAction* a : f.windowMenu()->actions())
      if (a->data().toInt() >= kCmdFirstWindow)
        out.push_back((a->isChecked() ? "* " : "") + a->text().toStdString());
    return out;
  };
  EXPECT_EQ(listed(), (Strings{"&1   A.CLW  (/p)", "&2   B.CLW  (/p)", "* &3   C.INC  (/p)"}));
  auto key = [](int k, Qt::KeyboardModifiers mods) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k), mods);
    settle();
  };
  struct Step {
    int key;
    Qt::KeyboardModifiers mods;
    const char* active;
  };
  const Step steps[] = {
      {Qt::Key_F6, Qt::ControlModifier, "  A.CLW  (/p)"},  // wraps round
      {Qt::Key_Tab, Qt::ControlModifier, "  B.CLW  (/p)"},
      {Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier, "  A.CLW  (/p)"},
      {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "  C.INC  (/p)"},
  };
  for (const Step& s : steps) {
    key(s.key, s.mods);
    EXPECT_EQ(active(), s.active) << s.key;
  }
  // C, then A from the list: closing A brings back C, not the first-made B.
  for (QAction* a : f.windowMenu()->actions())
    if (a->data().toInt() == kCmdFirstWindow) a->trigger();
  settle();
  EXPECT_EQ(active(), "  A.CLW  (/p)");
  key(Qt::Key_F4, Qt::ControlModifier);
  EXPECT_EQ(titles(), (Strings{"  B.CLW  (/p)", "  C.INC  (/p)"}));
  EXPECT_EQ(active(), "  C.INC  (/p)");
  EXPECT_TRUE(f.mdi()->activeSubWindow()->isAncestorOf(QApplication::focusWidget()));
  key(Qt::Key_F4, Qt::ControlModifier);
  EXPECT_FALSE(f.action(kCmdNextWindow)->isEnabled()) << "one window left";
  EXPECT_TRUE(f.action(kCmdCloseWindow)->isEnabled());
}

// Cascade keeps the size a new window gets; after Close All the next window
// starts at the top left again; no window is made smaller than usable.
TEST_F(MainFrameTest, CascadeSizesPlacesAndMinimumSize) {
  MainFrame& f = start({"/p/A.CLW", "/p/B.CLW", "/p/C.INC"});
  settle();
  const QSize area = f.mdi()->viewport()->size();
  const QSize size(std::min(std::max(320, area.width() * 3 / 4), area.width()),
                   std::min(std::max(240, area.height() * 3 / 4), area.height()));
  f.action(kCmdTile)->trigger();
  f.action(kCmdCascade)->trigger();
  settle();
  int previousTop = -1;
  for (QMdiSubWindow* child : f.mdi()->subWindowList(QMdiArea::CreationOrder)) {
    EXPECT_EQ(child->size(), size) << child->windowTitle().toStdString();
    EXPECT_GT(child->y(), previousTop);
    EXPECT_LE(child->geometry().bottom(), area.height());
    previousTop = child->y();
  }
  f.action(kCmdCloseAll)->trigger();
  settle();
  f.openFile("/p/B.CLW");
  settle();
  QMdiSubWindow* child = f.mdi()->activeSubWindow();
  ASSERT_TRUE(child);
  EXPECT_EQ(child->pos(), QPoint(0, 0));
  QWidget* view = child->widget();
  EXPECT_GT(view->minimumWidth(), 200);
  EXPECT_GT(view->minimumHeight(), 150);
  child->resize(50, 50);
  EXPECT_GE(view->width(), view->minimumWidth());
  EXPECT_GE(view->height(), view->minimumHeight());
}

// One Esc closes the menu and gives the keyboard back to the window.
TEST_F(MainFrameTest, OneEscAfterAMenuReturnsTheFocus) {
  MainFrame& f = start({"/p/A.CLW"});
  f.activateWindow();
  settle();
  QWidget* before = QApplication::focusWidget();
  ASSERT_TRUE(before && fileWindows()[0]->isAncestorOf(before));
  // As the program runs; a widget does not own its style: the frame does,
  // and deletes it after the menu bar.
  auto* style = new MenuKeyStyle(QApplication::style()->name());
  style->setParent(&f);
  f.menuBar()->setStyle(style);
  f.menuBar()->setActiveAction(f.windowMenu()->menuAction());
  settle();
  ASSERT_TRUE(QApplication::activePopupWidget());
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
  settle();
  EXPECT_FALSE(QApplication::activePopupWidget());
  EXPECT_FALSE(f.menuBar()->hasFocus());
  EXPECT_EQ(QApplication::focusWidget(), before);
}

// F1 opens the help at the section of what is in front.
TEST_F(MainFrameTest, F1OpensTheHelpOfTheWindowInFront) {
  const std::string program = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
  fs.create(helpPagePath(program, fs), "<!DOCTYPE html>");
  fs.create("/p/main.clw", "  PROGRAM\n  CODE\n");
  MainFrame& f = start();
  f.activateWindow();
  settle();
  auto f1 = [&] {
    QWidget* target = QApplication::activeModalWidget();
    QTest::keyClick(target ? target : QApplication::focusWidget() ? QApplication::focusWidget() : &f,
                    Qt::Key_F1);
    const std::string url = shell.urls.empty() ? "" : shell.urls.back();
    return url.substr(url.find('#') + 1);
  };
  EXPECT_EQ(f1(), "contents");
  f.openFile("/p/A.CLW");
  settle();
  EXPECT_EQ(f1(), "opening");
  f.openProject("/p/main.clw");
  settle();
  EXPECT_EQ(f1(), "projects");
  std::string inSetup;
  f.runSetup = [&](QDialog& dialog) {
    dialog.show();
    settle();
    inSetup = f1();
  };
  f.action(kCmdSetupPrintout)->trigger();
  EXPECT_EQ(inSetup, "setup");
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainFrameTest, AnalysisErrorAsksWhetherToResume) {
  for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
    SCOPED_TRACE(answer == MessageAnswer::Yes ? "Yes" : "No");
    messages.messages.clear();
    profile.values.clear();
    MainFrame& f = start();
    messages.answers = {answer};
    f.openDialog = [](QWidget*, const std::string&) { return Strings{"/p/A.CLW", "/p/BAD.CLW", "/p/B.CLW"}; };
    f.action(kCmdOpen)->trigger();
    settle();
    EXPECT_EQ(said(), Strings{"Unhandled Exception: Error in syntax in line 1: Bad compund "
                              "structure\nOK to resume?"});
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(messages.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(f.recentFiles().entries(), Strings{"/p/A.CLW"}) << "the rest is not opened";
    if (answer == MessageAnswer::Yes) {
      EXPECT_TRUE(f.isVisible());
      EXPECT_EQ(titles(), Strings{"  A.CLW  (/p)"});
    } else {
      EXPECT_FALSE(f.isVisible()) << "No closes the program the normal way";
      EXPECT_EQ(profile.values["TARNLIST/FILE1"], "/p/A.CLW") << "recent files saved";
    }
  }
}

struct OpenCase {
  const char* name;
  Strings open;      ///< the files after --open
  Strings titles;    ///< the file windows afterwards
  Strings said;
  Strings recent;    ///< the recent list, which held /p/C.INC before
};

const OpenCase kOpenCases[] = {
    {"InOrder", {"/p/B.CLW", "/p/A.CLW"}, {"  B.CLW  (/p)", "  A.CLW  (/p)"}, {},
     {"/p/A.CLW", "/p/B.CLW", "/p/C.INC"}},
    {"MissingFileSaidTheRestOpen", {"/p/NONE.CLW", "/p/A.CLW", "/p/B.CLW"},
     {"  A.CLW  (/p)", "  B.CLW  (/p)"}, {"File Error: Unable to open file\n/p/NONE.CLW"},
     {"/p/B.CLW", "/p/A.CLW", "/p/C.INC"}},
    {"AnalysisErrorStopsTheRest", {"/p/A.CLW", "/p/BAD.CLW", "/p/B.CLW"}, {"  A.CLW  (/p)"},
     {"Unhandled Exception: Error in syntax in line 1: Bad compund structure\nOK to resume?"},
     {"/p/A.CLW", "/p/C.INC"}},
    {"NoFiles", {}, {}, {}, {"/p/C.INC"}},
};

TEST_F(MainFrameTest, StartUpOpensTheCommandLineFiles) {
  for (const auto& c : kOpenCases) {
    SCOPED_TRACE(c.name);
    messages.messages.clear();
    messages.answers = {MessageAnswer::Yes};
    profile.values = {{"TARNLIST/FILE1", "/p/C.INC"}};
    MainFrame& f = start(c.open);
    EXPECT_EQ(titles(), c.titles);
    EXPECT_EQ(said(), c.said);
    EXPECT_EQ(f.recentFiles().entries(), c.recent);
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.batchMode()) << "the run goes on";
    f.mdi()->closeAllSubWindows();
    settle();
  }
}

TEST_F(MainFrameTest, RecentFilesAcrossTwoRuns) {
  for (const char* name : {"1", "2", "3", "4", "5", "6"}) fs.create(std::string("/p/F") + name + ".CLW", "x\n");
  MainFrame& first = start();
  first.openFiles({"/p/F1.CLW", "/p/F2.CLW", "/p/F3.CLW", "/p/F4.CLW", "/p/F5.CLW", "/p/F6.CLW",
                   "/p/F4.CLW"});
  EXPECT_EQ(titles().size(), 7u) << "a listed file opens a second window";
  first.close();
  EXPECT_EQ(profile.values["TARNLIST/FILE1"], "/p/F6.CLW");
  EXPECT_EQ(profile.values["TARNLIST/FILE5"], "/p/F2.CLW");

  MainFrame& second = start();
  Strings menu;
  for (int id = 25000; id < 25005; ++id) menu.push_back(second.action(id)->text().toStdString());
  EXPECT_EQ(menu, (Strings{"&1   F6.CLW  (/p)", "&2   F5.CLW  (/p)", "&3   F4.CLW  (/p)",
                           "&4   F3.CLW  (/p)", "&5   F2.CLW  (/p)"}));
  second.action(25002)->trigger();
  EXPECT_EQ(titles(), Strings{"  F4.CLW  (/p)"});
  EXPECT_EQ(second.recentFiles().entries()[2], "/p/F4.CLW") << "opening an entry does not move it";
}

TEST_F(MainFrameTest, RecentFilesThatCannotBeSavedAreSaidOnce) {
  MainFrame& f = start({"/p/A.CLW"});
  profile.failWrites = true;
  f.close();
  f.close();
  EXPECT_EQ(said(), Strings{"Profile Error: The recent files could not be saved in the profile"});
}

// The next run opens where this one ended: the window's place, size and
// state, and the Open dialog's folder.
TEST_F(MainFrameTest, ProfileKeepsTheWindowAndTheOpenFolder) {
  Strings folders;
  for (bool maximized : {false, true}) {
    SCOPED_TRACE(maximized);
    MainFrame& f = start();
    f.openDialog = [&folders](QWidget*, const std::string& folder) {
      folders.push_back(folder);
      return Strings{"/p/B.CLW"};
    };
    f.action(kCmdOpen)->trigger();
    if (maximized) {
      f.showMaximized();
    } else {
      f.showNormal();
      f.setGeometry(40, 50, 640, 480);
    }
    settle();
    ASSERT_TRUE(f.close());
    MainFrame& next = start();
    next.hide();
    next.placeOnScreen();
    settle();
    EXPECT_EQ(next.isMaximized(), maximized);
    if (!maximized) {
      EXPECT_EQ(next.size(), QSize(640, 480));
    }
  }
  EXPECT_EQ(folders, (Strings{"", "/p"}));
}

TEST_F(MainFrameTest, EnablersFollowTheWindows) {
  MainFrame& f = start();
  auto enabled = [&f] {
    Strings on;
    for (auto [id, name] : {std::pair{kCmdOpen, "open"}, std::pair{kCmdOpenProject, "project"},
                            std::pair{kCmdPrintSetup, "setup"}, std::pair{kCmdPrint, "print"},
                            std::pair{kCmdPrintPreview, "preview"}})
      if (f.action(id)->isEnabled()) on.push_back(name);
    return on;
  };
  EXPECT_EQ(enabled(), (Strings{"open", "project", "setup"}));
  for (int i = 0; i < kMaxFileWindows; ++i) f.openFile("/p/A.CLW");
  EXPECT_EQ(enabled(), (Strings{"print", "preview"})) << "26 file windows";
  f.mdi()->activeSubWindow()->close();
  settle();
  EXPECT_EQ(enabled(), (Strings{"open", "project", "setup", "print", "preview"}));
  printer.error = true;
  f.updateEnablers();
  EXPECT_EQ(enabled(), (Strings{"open", "project", "setup"})) << "a printer that cannot print";
}

TEST_F(MainFrameTest, WindowMenuArrangesAndCloses) {
  MainFrame& f = start();
  f.openFiles({"/p/A.CLW", "/p/B.CLW", "/p/C.INC"});
  const auto children = f.mdi()->subWindowList(QMdiArea::CreationOrder);
  children[0]->showMinimized();
  children[2]->showMinimized();
  f.action(kCmdArrangeIcons)->trigger();
  const int bottom = f.mdi()->viewport()->height();
  EXPECT_EQ(children[0]->geometry().bottom() + 1, bottom);
  EXPECT_EQ(children[2]->geometry().bottom() + 1, bottom);
  EXPECT_EQ(children[2]->x(), children[0]->geometry().right() + 1) << "side by side";
  f.action(kCmdCloseAll)->trigger();
  settle();
  EXPECT_EQ(varnixWindowView::fileWindowCount(), 0);
}

TEST_F(MainFrameTest, CornerCaptionStaysInsideTheArea) {
  MainFrame& f = start();
  for (QSize size : {QSize(640, 480), QSize(333, 201)}) {
    f.resize(size);
    settle();
    const QImage image = f.mdi()->viewport()->grab().toImage();
    const QColor background(128, 128, 128);
    auto ink = [&](int x, int y) { return image.pixelColor(x, y) != background; };
    bool drawn = false;
    for (int y = image.height() - 60; y < image.height(); ++y)
      for (int x = image.width() - 200; x < image.width(); ++x) drawn = drawn || ink(x, y);
    EXPECT_TRUE(drawn) << "the caption is in the corner";
    for (int y = 0; y < image.height(); ++y)
      EXPECT_FALSE(ink(image.width() - 1, y)) << "cut at the right edge, row " << y;
    for (int x = 0; x < image.width(); ++x)
      EXPECT_FALSE(ink(x, image.height() - 1)) << "cut at the bottom, column " << x;
  }
}

TEST_F(MainFrameTest, PrintModeMenuAndArchiveOption) {
  MainFrame& f = start();
  f.action(kCmdPrintModeEmbedFiles)->trigger();
  EXPECT_EQ(+setup.printMode, 3);
  f.action(kCmdPrintModeFull)->trigger();
  EXPECT_EQ(+setup.printMode, 1);
  EXPECT_TRUE(f.action(kCmdPrintModeFull)->isChecked());
  EXPECT_FALSE(f.action(kCmdPrintModeEmbedFiles)->isChecked());
  const bool before = setup.clearArchive != 0;
  f.action(kCmdClearArchive)->trigger();
  EXPECT_NE(setup.clearArchive != 0, before);
}

TEST_F(MainFrameTest, BatchPrintingWithAnAnalysisError) {
  fs.create("/p/list.txt", "/p/A.CLW\n/p/BAD.CLW\n/p/B.CLW\n\n/p/C.INC\n");
  for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
    printer.recording.titles.clear();
    profile.values.clear();
    frame = std::make_unique<MainFrame>(app);
    frame->show();
    messages.answers = {answer};
    frame->scheduleStartUp(std::string("@/p/list.txt"));
    settle();
    EXPECT_EQ(printer.recording.titles, Strings{"/p/A.CLW"}) << "B is not printed";
    EXPECT_EQ(frame->isVisible(), answer == MessageAnswer::Yes);
    EXPECT_EQ(profile.values.count("TARNLIST/FILE1"), answer == MessageAnswer::No ? 1u : 0u);
  }
}

TEST_F(MainFrameTest, KeyboardAltPAndShiftO) {
  fs.create("/p/E.CLW", "E PROCEDURE\n  CODE\n  ! Before Embed Point: %x) DESC(d) ARG()\n  e1\n"
                        "  ! After Embed Point: %x) DESC(d) ARG()\n");
  MainFrame& f = start();
  QApplication::setActiveWindow(&f);
  // Without a file window Alt+P opens the "&Print mode" menu.
  QTest::keyClick(f.mdi(), Qt::Key_P, Qt::AltModifier);
  settle();
  EXPECT_EQ(f.menuBar()->activeAction(), f.printModeMenu()->menuAction());
  f.menuBar()->setActiveAction(nullptr);
  QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &f, Qt::Key_Escape);
  settle();

  f.openFile("/p/E.CLW");
  varnixWindowView* view = fileWindows().front();
  view->embedList()->setFocus();
  QTest::keyClick(view->embedList(), Qt::Key_P, Qt::AltModifier);
  QTest::qWait(250);  // the button's animated click
  EXPECT_EQ(printer.recording.titles, Strings{"/p/E.CLW"}) << "Alt+P pressed \"&Print\"";

  messages.messages.clear();
  int projectDialogs = 0;
  f.projectDialog = [&projectDialogs](QWidget*, const std::string&) {
    ++projectDialogs;
    return std::string();
  };
  view->unitFilter()->setFocus();
  QTest::keyClicks(view->unitFilter(), "O", Qt::ShiftModifier);
  EXPECT_EQ(view->unitFilter()->text().toUpper().toStdString(), "O") << "Shift+O types in a text field";
  EXPECT_EQ(projectDialogs, 0);
  view->unitList()->setFocus();
  QTest::keyClick(view->unitList(), Qt::Key_O, Qt::ShiftModifier);
  EXPECT_EQ(projectDialogs, 1) << "elsewhere it opens a project";
}

}  // namespace
}  // namespace tarn
