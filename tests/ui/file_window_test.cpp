#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <QApplication>
#include <QCheckBox>

#include "ui/column_listbox.h"
#include "ui/listing_extras_dialog.h"
#include "ui/preview_window.h"
#include "ui_fixture.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;
using test::UiFixture;

constexpr const char* kSource =
    "  PROGRAM\n  MAP\n  END\n  CODE\n  DO Setup\n"
    "Setup ROUTINE\n"
    "  ! Before Embed Point: %Setup) DESC(Setup code) ARG()\n  setup1\n"
    "  ! After Embed Point: %Setup) DESC(Setup code) ARG()\n"
    "Main PROCEDURE\nWin WINDOW('x'),AT(0,0,100,100)\n    END\n  CODE\n"
    "  ! Before Embed Point: %Open) DESC(Opening the window) ARG(1)\n  open1\n"
    "  ! After Embed Point: %Open) DESC(Opening the window) ARG(1)\n  main2\n"
    "Helper FUNCTION\n  CODE\n  helper1\n";

class FileWindowTest : public ::testing::Test, public UiFixture {
 protected:
  varnixWindowView& open(const char* path = "/p/S.CLW") {
    fs.create("/p/S.CLW", kSource);
    fs.create("/p/PLAIN.CLW", "Only PROCEDURE\n  CODE\n  x\n");
    start().openFile(path);
    return *fileWindows().back();
  }
  static Strings shown(TColumnListbox* list) {
    Strings out;
    for (int p = 0; p < list->shownCount(); ++p)
      out.emplace_back(list->listData().mainText(list->listData().shownIndex(p)));
    return out;
  }
  Strings firstAndLastPrinted() {
    if (printer.recording.jobs.empty()) return {};
    Strings texts = test::listingTexts(printer.recording.jobs.back());
    return texts.empty() ? Strings{} : Strings{texts.front(), texts.back()};
  }
};

TEST_F(FileWindowTest, ListsFilterSelectAndEnable) {
  varnixWindowView& w = open();
  EXPECT_EQ(shown(w.unitList()), (Strings{"PROGRAM", "Setup", "Main", "Helper"}));
  EXPECT_EQ(shown(w.embedList()), (Strings{"Setup code   ARG()", "Opening the window   ARG(1)"}));
  EXPECT_EQ(w.unitList()->selectedPosition(), 0) << "the first entry is selected";
  EXPECT_EQ(w.unitList()->listData().rightText(1), "ROUTINE");

  struct Step {
    const char* typed;
    Strings units;
    bool listEnabled;
  };
  const Step steps[] = {
      {"E", {"Setup", "Helper"}, true},
      {"ELP", {"Helper"}, true},
      {"zz", {}, false},
      {"", {"PROGRAM", "Setup", "Main", "Helper"}, true},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.typed);
    w.unitFilter()->setText(QString::fromLatin1(s.typed));
    EXPECT_EQ(shown(w.unitList()), s.units);
    EXPECT_EQ(w.unitList()->isEnabled(), s.listEnabled);
    EXPECT_EQ(w.button(varnixWindowView::kUnitPrint)->isEnabled(), s.listEnabled);
    EXPECT_EQ(w.unitList()->selectedPosition(), s.listEnabled ? 0 : -1);
    EXPECT_TRUE(w.embedList()->isEnabled()) << "the other panel is unaffected";
  }
  w.unitFilter()->setText(QString(100, QChar('x')));
  EXPECT_EQ(w.unitFilter()->text().size(), varnixWindowView::kMaxFilter);
  w.embedFilter()->setText(QStringLiteral("wIN"));
  EXPECT_EQ(shown(w.embedList()), Strings{"Opening the window   ARG(1)"});
}

TEST_F(FileWindowTest, PrintsAUnitAnEmbedPointOrTheWholeFile) {
  varnixWindowView& w = open();
  w.unitList()->selectPosition(1);
  w.button(varnixWindowView::kUnitPrint)->click();
  EXPECT_EQ(firstAndLastPrinted(), (Strings{"\"Setup\"", "\"  ! After Embed Point: %Setup) DESC(Setup code) ARG()\""}));

  // A double-click prints; a single click only selects.
  const QRect second = w.embedList()->visualRect(w.embedList()->model()->index(1, 0));
  QTest::mouseClick(w.embedList()->viewport(), Qt::LeftButton, {}, second.center());
  EXPECT_EQ(printer.recording.jobs.size(), 1u);
  QTest::mouseDClick(w.embedList()->viewport(), Qt::LeftButton, {}, second.center());
  EXPECT_EQ(firstAndLastPrinted(),
            (Strings{"\"  ! Before Embed Point: %Open) DESC(Opening the window) ARG(1)\"",
                     "\"  ! After Embed Point: %Open) DESC(Opening the window) ARG(1)\""}));

  // Return in a filter presses the default button: the whole file.
  w.unitFilter()->setFocus();
  QTest::keyClick(w.unitFilter(), Qt::Key_Return);
  QTest::qWait(250);
  EXPECT_EQ(firstAndLastPrinted(), (Strings{"\"PROGRAM\"", "\"helper1\""}));
  EXPECT_EQ(printer.recording.withDialog.back(), true);
  EXPECT_TRUE(said().empty());
}

TEST_F(FileWindowTest, NothingToPrintAndTheArchiveMark) {
  setup.clearArchive = 1;
  setup.printMode = 3;
  varnixWindowView& w = open("/p/PLAIN.CLW");
  attributes.attributes["/p/PLAIN.CLW"] = kAttrArchive;
  w.printWholeFile();
  EXPECT_EQ(said(), Strings{"Tarnlist for Clarion: There is nothing to print"});
  EXPECT_FALSE(w.embedList()->isEnabled());

  setup.printMode = 1;
  struct Case {
    JobResult answer;
    std::uint32_t bits;
  };
  for (Case c : {Case{JobResult::Cancelled, kAttrArchive}, Case{JobResult::Failed, kAttrArchive},
                 Case{JobResult::Printed, 0u}}) {
    printer.recording.answer = c.answer;
    w.printWholeFile();
    EXPECT_EQ(attributes.attributes["/p/PLAIN.CLW"], c.bits);
  }
}

TEST_F(FileWindowTest, EditThroughTheShell) {
  varnixWindowView& w = open();
  struct Case {
    int association;
    MessageAnswer answer;
    bool editorStarts;
    Strings said;
    Strings edited;
  };
  const std::string question =
      ": File type does not have a default viewer - Do you wish to use notepad instead ?";
  const Case cases[] = {
      {33, MessageAnswer::No, true, {}, {}},
      {31, MessageAnswer::No, true, {question}, {}},
      {31, MessageAnswer::Yes, true, {question}, {"/p/S.CLW"}},
      {31, MessageAnswer::Yes, false, {question, "Tarnlist for Clarion: Error 2 occured in attempt to edit the file."}, {"/p/S.CLW"}},
      {2, MessageAnswer::No, true, {"Tarnlist for Clarion: Error 2 occured in attempt to edit the file."}, {}},
  };
  for (const Case& c : cases) {
    messages.messages.clear();
    messages.answers = {c.answer};
    shell.edited.clear();
    shell.associationAnswer = c.association;
    shell.editorAnswer = c.editorStarts;
    w.button(varnixWindowView::kEdit)->click();
    EXPECT_EQ(said(), c.said) << c.association;
    EXPECT_EQ(shell.edited, c.edited);
  }
  EXPECT_EQ(shell.opened.size(), 5u);
}

TEST_F(FileWindowTest, PreviewShowsEveryPageAndPrintsTheWholeFile) {
  setup.clearArchive = 1;
  std::string longSource = kSource;
  for (int i = 0; i < 400; ++i) longSource += "  total += amount" + std::to_string(i) + "\n";
  fs.create("/p/LONG.CLW", longSource);
  varnixWindowView& w = open("/p/LONG.CLW");
  attributes.attributes["/p/LONG.CLW"] = kAttrArchive;
  bool shown = false;
  frame->runPreview = [&](QDialog& dialog) {
    auto& preview = static_cast<PreviewWindow&>(dialog);
    preview.show();
    settle();
    shown = true;
    const int count = preview.pages().count();
    ASSERT_GE(count, 3);
    EXPECT_EQ(preview.windowTitle().toStdString(), "Print Preview");
    const QRect page = preview.page()->geometry();
    EXPECT_TRUE(preview.rect().contains(page)) << "the whole page is visible";
    EXPECT_EQ(page.left(), 15);
    auto image = [&] { return preview.page()->grab().toImage(); };
    auto state = [&] {
      return preview.indicator()->text().toStdString() + " " +
             (preview.previousButton()->isEnabled() ? "P" : "-") +
             (preview.nextButton()->isEnabled() ? "N" : "-") + " " +
             std::to_string(preview.page()->page());
    };
    const std::string of = " of " + std::to_string(count);
    const QImage first = image();
    int dark = 0;
    for (int y = 0; y < first.height(); y += 2)
      for (int x = 0; x < first.width(); x += 2) dark += qGray(first.pixel(x, y)) < 128;
    EXPECT_GT(dark, 50) << "page 1 has text";

    const struct {
      int key;  // 0: the Next button, 1: the Previous button
      std::string after;
    } steps[] = {
        {0, "Page 1" + of + " -N 1"},  // as it opens
        {Qt::Key_PageDown, "Page 2" + of + " PN 2"},
        {Qt::Key_End, "Page " + std::to_string(count) + of + " P- " + std::to_string(count)},
        {Qt::Key_PageDown, "Page " + std::to_string(count) + of + " P- " + std::to_string(count)},
        {1, "Page " + std::to_string(count - 1) + of + " PN " + std::to_string(count - 1)},
        {Qt::Key_Home, "Page 1" + of + " -N 1"},
        {Qt::Key_PageUp, "Page 1" + of + " -N 1"},
    };
    for (const auto& step : steps) {
      if (step.key == 1)
        preview.previousButton()->click();
      else if (step.key != 0)
        QTest::keyClick(&preview, static_cast<Qt::Key>(step.key));
      EXPECT_EQ(state(), step.after) << "key " << step.key;
    }
    preview.nextButton()->click();
    const QImage second = image();
    EXPECT_NE(second, first) << "page 2 is not page 1";
    EXPECT_EQ(image(), second) << "a repaint keeps the page";
    QTest::keyClick(&preview, Qt::Key_Home);
    EXPECT_EQ(image(), first) << "page 1 drawn again from where it starts";

    EXPECT_EQ(attributes.attributes["/p/LONG.CLW"], kAttrArchive) << "the preview prints nothing";
    preview.printButton()->click();
    EXPECT_EQ(firstAndLastPrinted(), (Strings{"\"PROGRAM\"", "\"amount399\""}));
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible()) << "Esc is Done";
  };
  w.unitList()->selectPosition(2);
  frame->action(kCmdPrintPreview)->trigger();
  EXPECT_TRUE(shown);
  EXPECT_EQ(printer.holds, 0) << "the printer is let go with the preview";
}

TEST_F(FileWindowTest, ListingExtrasDialogKeepsItsChoiceInTheProfile) {
  start();
  struct Case {
    bool ok;
    ListingExtras before, expected;
    std::map<std::string, std::string> written;
  } cases[] = {
      {false, {}, {}, {}},
      {true, {}, {true, true, false},
       {{"TARNLIST/LINENUMBERS", "1"}, {"TARNLIST/PAGECOUNT", "1"}, {"TARNLIST/PDFOUTLINE", "0"}}},
      {true, {true, false, true}, {false, false, true}, {{"TARNLIST/LINENUMBERS", "0"}}},
  };
  for (const Case& c : cases) {
    profile.values.clear();
    extras = c.before;
    bool ran = false;
    frame->runSetup = [&](QDialog& dialog) {
      auto& d = static_cast<ListingExtrasDialog&>(dialog);
      ran = true;
      d.show();
      QApplication::setActiveWindow(&d);  // mnemonics work in the active window
      settle();
      EXPECT_EQ(d.lineNumbers()->text().toStdString(), "Print line &numbers");
      EXPECT_EQ(d.pageCount()->text().toStdString(), "Page number with page &count");
      EXPECT_EQ(d.pdfOutline()->text().toStdString(), "PDF &outline of units and embed points");
      EXPECT_TRUE(d.okButton()->isDefault());
      EXPECT_EQ(d.extras(), c.before) << "the dialog opens on the options in force";
      // The mnemonics toggle the boxes, as a keyboard user sets them.
      if (c.expected.lineNumbers != c.before.lineNumbers) QTest::keyClick(&d, Qt::Key_N, Qt::AltModifier);
      if (c.expected.pageCount != c.before.pageCount) QTest::keyClick(&d, Qt::Key_C, Qt::AltModifier);
      if (c.expected.pdfOutline != c.before.pdfOutline) QTest::keyClick(&d, Qt::Key_O, Qt::AltModifier);
      QTest::qWait(150);  // a mnemonic clicks its button a moment later, as a mouse would
      QTest::keyClick(&d, c.ok ? Qt::Key_Return : Qt::Key_Escape);
    };
    frame->action(kCmdListingExtras)->trigger();
    EXPECT_TRUE(ran);
    EXPECT_EQ(extras, c.ok ? c.expected : c.before);
    EXPECT_EQ(profile.values, c.written) << "only what changed is written";
  }
}

}  // namespace
}  // namespace tarn
