#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QTimer>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <filesystem>

#include "printout/print_all.h"
#include "ui/column_listbox.h"
#include "ui/project_window.h"
#include "ui_fixture.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

class ProjectWindowTest : public ::testing::Test, public test::UiFixture {
 protected:
  ProjectWindowTest() {
    // 2001-03-05 09:07 UTC as the files' time: the list shows local time.
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    fs.create("/p/main.clw",
              "  PROGRAM\n  MAP\n    MODULE('UTIL.CLW')\n      Helper PROCEDURE\n    END\n  END\n"
              "  INCLUDE('EQU.INC')\n  CODE\nMainProc PROCEDURE\n  CODE\n",
              983783220);
    fs.create("/p/Util.clw", "  MEMBER('main')\nHelper PROCEDURE\n  CODE\n  h = 1\n", 983783220);
    fs.create("/p/EQU.INC", "X EQUATE(1)\n", 983783220);
    for (const char* path : {"/p/main.clw", "/p/Util.clw", "/p/EQU.INC"})
      attributes.attributes[path] = kAttrArchive;
  }
  ProjectWindowView* openProject(const std::string& path = "/p/main.clw") {
    MainFrame& f = frame ? *frame : start();
    if (!f.openProject(path)) return nullptr;
    return qobject_cast<ProjectWindowView*>(f.mdi()->activeSubWindow()->widget());
  }
  static Strings rows(TColumnListbox* list) {
    Strings out;
    for (int p = 0; p < list->shownCount(); ++p) {
      const int i = list->listData().shownIndex(p);
      out.push_back(std::string(list->listData().mainText(i)) + " | " + list->listData().rightText(i));
    }
    return out;
  }
};

TEST_F(ProjectWindowTest, ListsFilterAndEnable) {
  ProjectWindowView* w = openProject();
  ASSERT_TRUE(w);
  EXPECT_EQ(titles(), Strings{"Project   main.clw  (/p)"});
  EXPECT_EQ(varnixWindowView::fileWindowCount(), 0) << "project windows are not counted";
  EXPECT_FALSE(frame->action(kCmdPrint)->isEnabled()) << "nothing to print in a project window";
  EXPECT_EQ(rows(w->fileList()), (Strings{"EQU.INC | 05/03/2001  09:07    [Modified]",
                                          "main.clw | 05/03/2001  09:07    [Modified]",
                                          "UTIL.CLW | 05/03/2001  09:07    [Modified]"}));
  EXPECT_EQ(rows(w->procList()), (Strings{"Helper | UTIL.CLW        Line 2",
                                          "MainProc | main.clw        Line 9"}));
  w->fileFilter()->setText(QStringLiteral("zz"));
  EXPECT_FALSE(w->fileList()->isEnabled());
  for (auto id : {ProjectWindowView::kFileOpen, ProjectWindowView::kFileEdit, ProjectWindowView::kPrintAll})
    EXPECT_FALSE(w->button(id)->isEnabled()) << id;
  EXPECT_TRUE(w->button(ProjectWindowView::kProcOpen)->isEnabled()) << "the other panel is unaffected";

  // A procedure's file opens as found on disk, whatever the file filter shows.
  w->procList()->selectPosition(0);
  w->button(ProjectWindowView::kProcOpen)->click();
  ASSERT_EQ(fileWindows().size(), 1u);
  EXPECT_EQ(fileWindows()[0]->document().path, "/p/Util.clw");
  w->procList()->selectPosition(1);
  w->button(ProjectWindowView::kProcEdit)->click();
  EXPECT_EQ(shell.opened, Strings{"/p/main.clw"});
}

TEST_F(ProjectWindowTest, ReturnInAFilterOpensWhatItFound) {
  ProjectWindowView* w = openProject();
  ASSERT_TRUE(w);
  // Active, so that the window opened takes the focus as it does on a desktop.
  frame->activateWindow();
  QApplication::setActiveWindow(frame.get());
  settle();
  int asked = 0;
  w->askOptions = [&asked](QWidget*) {
    ++asked;
    return std::optional<std::uint32_t>();
  };
  struct Case {
    QLineEdit* filter;
    const char* text;
    Strings opened;
  };
  const Case cases[] = {
      {w->fileFilter(), "ma", {"/p/main.clw"}},
      {w->procFilter(), "Hel", {"/p/main.clw", "/p/Util.clw"}},
      {w->fileFilter(), "zz", {"/p/main.clw", "/p/Util.clw"}},  // nothing shown: nothing opens
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    c.filter->setFocus();
    c.filter->setText(QString::fromLatin1(c.text));
    QTest::keyClick(c.filter, Qt::Key_Return);
    QTest::qWait(250);  // a default button's click comes 100 ms after the key
    Strings opened;
    for (varnixWindowView* v : fileWindows()) opened.push_back(v->document().path);
    EXPECT_EQ(opened, c.opened);
  }
  EXPECT_EQ(asked, 0) << "Return in a filter never starts print-all";
  EXPECT_TRUE(w->button(ProjectWindowView::kPrintAll)->isDefault());
}

TEST_F(ProjectWindowTest, PrintAllWithEachFilterClearsTheMarks) {
  setup.clearArchive = 1;
  struct Case {
    std::optional<std::uint32_t> options;
    Strings printed;
  };
  const Case cases[] = {
      {std::nullopt, {}},
      {kPrintClwOnly, {"/p/main.clw", "/p/Util.clw"}},
      {kPrintModifiedOnly, {"/p/EQU.INC"}},  // the others were printed just now
      {kPrintModifiedOnly | kPrintClwOnly, {}},
      {0u, {"/p/EQU.INC", "/p/main.clw", "/p/Util.clw"}},
  };
  ProjectWindowView* w = openProject();
  ASSERT_TRUE(w);
  for (const Case& c : cases) {
    printer.recording.titles.clear();
    w->askOptions = [&c](QWidget*) { return c.options; };
    w->button(ProjectWindowView::kPrintAll)->click();
    EXPECT_EQ(printer.recording.titles, c.printed);
  }
  for (const std::string& row : rows(w->fileList()))
    EXPECT_EQ(row.find("[Modified]"), std::string::npos) << row;
  EXPECT_EQ(frame->recentFiles().entries(), (Strings{"/p/EQU.INC", "/p/Util.clw", "/p/main.clw"}))
      << "every printed file enters the recent list once";
}

TEST_F(ProjectWindowTest, TheBookGoesWhereTheSaveDialogSaysWhateverThePrinter) {
  // The third box of the options dialog asks for the book.
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_TRUE(dialog);
    dialog->findChild<QCheckBox*>(QStringLiteral("check106"))->setChecked(true);
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  EXPECT_EQ(askPrintAllOptions(nullptr), std::optional<std::uint32_t>(kPrintBook));

  setup.clearArchive = 1;
  ProjectWindowView* w = openProject();
  ASSERT_TRUE(w);
  EXPECT_EQ(suggestedBookPath(w->project()), "/p/main.pdf");
  const std::string book = ::testing::TempDir() + "project-window-book.pdf";
  std::filesystem::remove(book);
  std::string suggested;
  w->askOptions = [](QWidget*) { return std::optional<std::uint32_t>(kPrintBook | kPrintClwOnly); };
  w->askPath = [&](QWidget*, const std::string& s) {
    suggested = s;
    return std::optional<std::string>(book);
  };
  w->button(ProjectWindowView::kPrintAll)->click();
  EXPECT_EQ(suggested, "/p/main.pdf");
  EXPECT_TRUE(std::filesystem::is_regular_file(book));
  EXPECT_TRUE(printer.recording.titles.empty()) << "the printer takes no job";
  EXPECT_EQ(rows(w->fileList())[0], "EQU.INC | 05/03/2001  09:07    [Modified]");
  EXPECT_EQ(rows(w->fileList())[1], "main.clw | 05/03/2001  09:07    ") << "cleared once the book is written";
  EXPECT_TRUE(messages.messages.empty());

  // A book that cannot be written says so and keeps the marks.
  attributes.attributes["/p/main.clw"] = kAttrArchive;
  w->askPath = [](QWidget*, const std::string&) {
    return std::optional<std::string>("/no/such/folder/book.pdf");
  };
  w->button(ProjectWindowView::kPrintAll)->click();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "Could not write the book '/no/such/folder/book.pdf'");
  EXPECT_EQ(attributes.attributes["/p/main.clw"], kAttrArchive);
}

TEST_F(ProjectWindowTest, PrintAllIntoPdfFilesAsksForTheFolderAndSumsUpFailures) {
  namespace fsys = std::filesystem;
  setup.clearArchive = 1;
  ProjectWindowView* w = openProject();
  ASSERT_TRUE(w);
  printer.intoPdf = true;
  const std::string folder = ::testing::TempDir() + "print-all-folder";
  fsys::remove_all(folder);
  fsys::create_directories(folder);
  Strings presets;
  std::string answer = folder;
  w->askOptions = [](QWidget*) { return std::optional<std::uint32_t>(0u); };
  w->askFolder = [&](QWidget*, const std::string& preset) {
    presets.push_back(preset);
    return std::optional<std::string>(answer);
  };
  // Twice: the second run writes over the first one's files.
  for (int run = 0; run < 2; ++run) {
    for (auto& [path, bits] : attributes.attributes) bits = kAttrArchive;
    w->button(ProjectWindowView::kPrintAll)->click();
  }
  Strings written;
  for (const auto& entry : fsys::directory_iterator(folder))
    written.push_back(entry.path().filename().string());
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, (Strings{"EQU.INC.pdf", "Util.clw.pdf", "main.clw.pdf"}));
  EXPECT_EQ(presets, (Strings{"/p", folder})) << "the project's folder, then the last one chosen";
  EXPECT_TRUE(printer.recording.titles.empty());
  EXPECT_TRUE(messages.messages.empty());

  // Nothing could be written: one message names every file, marks stay.
  fs.files.erase("/p/Util.clw");
  for (auto& [path, bits] : attributes.attributes) bits = kAttrArchive;
  answer = folder + "/gone";
  w->button(ProjectWindowView::kPrintAll)->click();
  EXPECT_EQ(said(), Strings{"Print Error: No listing was written into " + answer +
                            ".\n3 files could not be printed:\n/p/EQU.INC: Could not write '" +
                            answer + "/EQU.INC.pdf'\n/p/main.clw: Could not write '" + answer +
                            "/main.clw.pdf'\n/p/Util.clw: Unable to open file"});
  EXPECT_EQ(rows(w->fileList())[1], "main.clw | 05/03/2001  09:07    [Modified]");

  // On the printer too, after the files that printed.
  messages.messages.clear();
  printer.intoPdf = false;
  w->button(ProjectWindowView::kPrintAll)->click();
  EXPECT_EQ(printer.recording.titles, (Strings{"/p/EQU.INC", "/p/main.clw"}));
  EXPECT_EQ(said(), Strings{"Print Error: 2 listings were printed.\n1 file could not be "
                            "printed:\n/p/Util.clw: Unable to open file"});
}

TEST_F(ProjectWindowTest, FilesFoundOutsideTheProgramFolderOpenAndPrintWhereFound) {
  profile.values["TARNLIST/INCLUDEPATH"] = "/nowhere; /lib";
  fs.create("/p/main.clw", "  PROGRAM\n  INCLUDE('SHARED.INC')\n  CODE\n", 983783220);
  fs.create("/lib/Shared.inc", "Shared PROCEDURE\n  CODE\n", 983783220);
  attributes.attributes["/lib/Shared.inc"] = kAttrArchive;
  setup.clearArchive = 1;
  ProjectWindowView* w = openProject();
  ASSERT_TRUE(w);
  EXPECT_EQ(rows(w->fileList()), (Strings{"../lib/SHARED.INC | 05/03/2001  09:07    [Modified]",
                                          "main.clw | 05/03/2001  09:07    [Modified]"}));
  w->fileList()->selectPosition(0);
  w->button(ProjectWindowView::kFileEdit)->click();
  EXPECT_EQ(shell.opened, Strings{"/lib/Shared.inc"});
  w->procList()->selectPosition(0);
  w->button(ProjectWindowView::kProcOpen)->click();
  ASSERT_EQ(fileWindows().size(), 1u);
  EXPECT_EQ(fileWindows()[0]->document().path, "/lib/Shared.inc");

  w->askOptions = [](QWidget*) { return std::optional<std::uint32_t>(0u); };
  w->button(ProjectWindowView::kPrintAll)->click();
  EXPECT_EQ(printer.recording.titles, (Strings{"/lib/Shared.inc", "/p/main.clw"}));
  EXPECT_EQ(rows(w->fileList()).front(), "../lib/SHARED.INC | 05/03/2001  09:07    ")
      << "the mark is read again where the file was found";
}

TEST_F(ProjectWindowTest, AnAnalysisErrorEndsPrintAll) {
  fs.create("/p/AAA.CLW", "A PROCEDURE\n  CODE\n");
  fs.create("/p/MMM.CLW", "  END\n  x\n");
  fs.create("/p/ZZZ.CLW", "Z PROCEDURE\n  CODE\n");
  fs.create("/p/bad.clw",
            "  PROGRAM\n  INCLUDE('AAA.CLW')\n  INCLUDE('MMM.CLW')\n  INCLUDE('ZZZ.CLW')\n  CODE\n");
  ProjectWindowView* w = openProject("/p/bad.clw");
  ASSERT_TRUE(w);
  messages.answers = {MessageAnswer::Yes};
  w->askOptions = [](QWidget*) { return std::optional<std::uint32_t>(0u); };
  w->button(ProjectWindowView::kPrintAll)->click();
  EXPECT_EQ(said(), Strings{"Unhandled Exception: Error in syntax in line 1: Bad compund "
                            "structure\nOK to resume?"});
  EXPECT_EQ(printer.recording.titles, (Strings{"/p/AAA.CLW", "/p/bad.clw"}))
      << "the files after MMM.CLW are not printed";
  EXPECT_TRUE(frame->isVisible());
}

TEST_F(ProjectWindowTest, OpenProjectCommandAndFailures) {
  MainFrame& f = start();
  profile.values["TARNLIST/PROJECTNAME"] = "/p/old.clw";
  std::string preset;
  f.projectDialog = [&preset](QWidget*, const std::string& p) {
    preset = p;
    return std::string("/p/missing.clw");
  };
  f.action(kCmdOpenProject)->trigger();
  EXPECT_EQ(preset, "/p/old.clw");
  EXPECT_EQ(profile.values["TARNLIST/PROJECTNAME"], "/p/missing.clw") << "written before loading";
  EXPECT_EQ(said(), Strings{"File Error: Unable to open file\n/p/missing.clw"});
  EXPECT_TRUE(titles().empty());
  EXPECT_TRUE(f.recentFiles().entries().empty()) << "projects are not recent files";

  fs.create("/p/empty.clw", "  PROGRAM\n  CODE\n");
  ProjectWindowView* w = openProject("/p/empty.clw");
  ASSERT_TRUE(w);
  EXPECT_FALSE(w->procList()->isEnabled());
  EXPECT_FALSE(w->button(ProjectWindowView::kProcOpen)->isEnabled());
  EXPECT_TRUE(w->button(ProjectWindowView::kClose)->isEnabled());
}

TEST_F(ProjectWindowTest, ScreenshotOfARealProject) {
  const std::string dir = test::corpusDir() + "/real/MbeleLebohang__Clarion_Application/EmployeesApp";
  if (test::corpusDir().empty() || !std::filesystem::exists(dir)) GTEST_SKIP() << "no corpus";
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (auto text = test::readRealFile(entry.path().string()))
      fs.create("/EmployeesApp/" + entry.path().filename().string(), *text, 983783220);
  MainFrame& f = start();
  f.resize(1100, 760);
  ProjectWindowView* w = openProject("/EmployeesApp/EmployeesApp.clw");
  ASSERT_TRUE(w);
  EXPECT_GE(w->project().fileCount(), 11);
  EXPECT_GE(w->project().procedureCount(), 200);
  w->parentWidget()->showMaximized();
  settle();
  QDir().mkpath(QStringLiteral(TARNLIST_SCREENSHOT_DIR));
  EXPECT_TRUE(w->grab().save(QStringLiteral(TARNLIST_SCREENSHOT_DIR "/project-window.png")));
}

}  // namespace
}  // namespace tarn
