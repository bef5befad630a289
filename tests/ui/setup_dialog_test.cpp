#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QListView>
#include <QTimer>

#include "desktop/font_record.h"
#include "pdf/qt/qt_fonts.h"
#include "printout/listing_printout.h"
#include "ui/font_choice.h"
#include "settings/config_file.h"
#include "ui/setup_dialog.h"
#include "ui_fixture.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

class SetupDialogTest : public ::testing::Test, public test::UiFixture {
 protected:
  SetupDialogTest() {
    dialogs.color = [this](const QColor&, QWidget*) {
      ++colorDialogs;
      return colorAnswer;
    };
    dialogs.font = [this](const QFont&, QWidget*) {
      ++fontDialogs;
      return fontAnswer;
    };
    dialogs.run = [this](QDialog& d) {
      ++styleDialogs;
      return styleRun(static_cast<TLexStyle&>(d));
    };
  }
  std::unique_ptr<TSetupDlg> open() {
    auto d = std::make_unique<TSetupDlg>(app, nullptr, dialogs);
    d->show();
    QApplication::setActiveWindow(d.get());
    return d;
  }
  QLineEdit* edit(TSetupDlg& d, int id) { return static_cast<QLineEdit*>(d.control(id)); }
  QAbstractButton* button(TSetupDlg& d, int id) { return static_cast<QAbstractButton*>(d.control(id)); }

  ChoiceDialogs dialogs;
  std::optional<QColor> colorAnswer;
  std::optional<QFont> fontAnswer;
  std::function<int(TLexStyle&)> styleRun = [](TLexStyle&) { return int(QDialog::Rejected); };
  int colorDialogs = 0, fontDialogs = 0, styleDialogs = 0;
};

TEST_F(SetupDialogTest, RangeChecksInOrderWithFocusAndWhatStaysStored) {
  struct Case {
    const char *columns, *lineHeight, *tabWidth;
    int failing;  // 0: OK closes
    const char* message;
  };
  const Case cases[] = {
      {"0", "100", "2", kSetupColumns, "'Columns' must be an integer from 1 to 10"},
      {"11", "100", "2", kSetupColumns, "'Columns' must be an integer from 1 to 10"},
      {"3", "abc", "2", kSetupLineHeight, "'Lineheight' must be an integer from 80 to 200"},
      {"3", "201", "0", kSetupLineHeight, "'Lineheight' must be an integer from 80 to 200"},
      {"3", "80", "51", kSetupTabWidth, "'Tabs expands to' must be an integer from 1 to 50"},
      {"10", "200", "50", 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.columns) + "/" + c.lineHeight + "/" + c.tabWidth);
    setup = defaultSetupData();
    messages.messages.clear();
    auto d = open();
    button(*d, kSetupWrapLine)->setChecked(!setup.wrapLine);
    edit(*d, kSetupColumns)->setText(c.columns);
    edit(*d, kSetupLineHeight)->setText(c.lineHeight);
    edit(*d, kSetupTabWidth)->setText(c.tabWidth);
    QTest::keyClick(d.get(), Qt::Key_Return);  // OK is the default button
    EXPECT_EQ(+setup.wrapLine, 1) << "check boxes are stored before the numbers";
    if (!c.failing) {
      EXPECT_TRUE(messages.messages.empty());
      EXPECT_FALSE(d->isVisible());
      EXPECT_EQ((std::vector<int>{setup.columns, setup.lineHeight, setup.tabWidth}),
                (std::vector<int>{10, 200, 50}));
      continue;
    }
    EXPECT_EQ(said(), Strings{std::string("Error: ") + c.message});
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), d->control(c.failing));
    EXPECT_EQ(edit(*d, c.failing)->selectedText(), edit(*d, c.failing)->text());
    EXPECT_EQ(+setup.columns, c.failing == kSetupColumns ? 2 : 3) << "passed numbers stay stored";
  }
}

TEST_F(SetupDialogTest, StylesColoursFontsAndCancel) {
  setup.tokenStyle[4] = 0xF0;
  auto d = open();
  d->classList()->setCurrentRow(4);
  struct Case {
    bool italic, bold, ok;
    std::int32_t word;
  };
  for (Case c : {Case{true, true, true, 0x5}, Case{false, true, true, 0x4},
                 Case{false, false, true, 0}, Case{true, true, false, 0}}) {
    styleRun = [c](TLexStyle& s) {
      s.italic()->setChecked(c.italic);
      s.bold()->setChecked(c.bold);
      if (c.ok) s.accept(); else s.reject();
      return s.result();
    };
    static_cast<QPushButton*>(d->control(kSetupStyle))->click();
    EXPECT_EQ(+setup.tokenStyle[4], c.word);
  }
  colorAnswer = QColor(0x11, 0x22, 0x33);
  static_cast<QPushButton*>(d->control(kSetupColor))->click();
  fontAnswer = QFont(QStringLiteral("DejaVu Sans Mono"), 14, QFont::Bold);
  static_cast<QPushButton*>(d->control(kSetupSourceFont))->click();
  d->reject();
  EXPECT_EQ(+setup.tokenColor[4], 0x332211u) << "Cancel keeps the colour";
  EXPECT_EQ(faceNameOf(setup.sourceFont), "DejaVu Sans Mono");
  EXPECT_EQ(+setup.sourceFont.pointSize, 140);
  EXPECT_EQ(+setup.sourceFont.fontType, kScreenFontType);

  // With no class selected Style and Color do nothing.
  auto again = open();
  again->classList()->clearSelection();
  const int before = styleDialogs + colorDialogs;
  static_cast<QPushButton*>(again->control(kSetupStyle))->click();
  static_cast<QPushButton*>(again->control(kSetupColor))->click();
  EXPECT_EQ(styleDialogs + colorDialogs, before);
}

TEST_F(SetupDialogTest, UnitChoiceHeaderTextAndDuplicateMnemonics) {
  const std::string header(99, 'h');
  std::memcpy(setup.headerText, header.data(), 99);
  setup.oneUnitEach = 0;
  auto d = open();
  EXPECT_FALSE(d->control(kSetupUnitPerPage)->isEnabled());
  button(*d, kSetupOneUnitEach)->click();
  EXPECT_TRUE(d->control(kSetupUnitPerColumn)->isEnabled()) << "enabled at once";

  QLineEdit* text = edit(*d, kSetupHeaderText);
  EXPECT_EQ(text->text().size(), 99) << "shown whole";
  text->setFocus();
  text->end(false);
  QTest::keyClicks(text, "xyz");
  EXPECT_EQ(text->text().size(), 99) << "nothing typed beyond";
  text->setText(QString(97, 'a'));
  QTest::keyClicks(text, "xyz");
  EXPECT_EQ(text->text().size(), 98);

  // Alt+C belongs to three controls: focus moves among them, nothing is pressed.
  std::vector<QWidget*> focused;
  for (int i = 0; i < 3; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    focused.push_back(QApplication::focusWidget());
  }
  std::sort(focused.begin(), focused.end());
  std::vector<QWidget*> expected{d->control(kSetupColor), d->control(kSetupUnitPerColumn),
                                 d->control(kSetupColumns)};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(focused, expected);
  EXPECT_EQ(colorDialogs, 0);
  EXPECT_FALSE(button(*d, kSetupUnitPerColumn)->isChecked() && !setup.unitPerColumn)
      << "the radio button was not pressed";
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(fontDialogs + styleDialogs, 0);

  QTest::keyClick(d.get(), Qt::Key_Escape);
  EXPECT_FALSE(d->isVisible()) << "Esc cancels";
  EXPECT_EQ(std::string(setup.headerText, 99), header) << "Cancel stores nothing";
}

TEST_F(SetupDialogTest, ChosenFontSurvivesTheConfigurationFileAndReachesThePrintout) {
  fs.create("/p/A.CLW", "A PROCEDURE\n  CODE\n  a1\n  a2\n");
  auto pitch = [this] {
    auto doc = loadDocument("/p/A.CLW", analysisOptions(setup), fs, messages);
    printer.recording.jobs.clear();
    printDocument(*doc, PrintRequest{}, *std::make_unique<PrintServices>(app.printServices()));
    std::vector<int> ys;
    std::istringstream lines(printer.recording.jobs.at(0));
    for (std::string line; std::getline(lines, line);)
      if (line.rfind("clip ", 0) == 0) ys.push_back(std::stoi(line.substr(line.find(' ', 5) + 1)));
    return ys.size() >= 2 ? ys.back() - ys[ys.size() - 2] : 0;
  };
  const int before = pitch();
  fontAnswer = QFont(QStringLiteral("DejaVu Sans Mono"), 20);
  ASSERT_TRUE(chooseFontInto(setup.sourceFont, dialogs, nullptr));
  ASSERT_TRUE(saveSetup("/cfg/tarnlist.DAT", setup, fs, messages));
  setup = loadSetup("/cfg/tarnlist.DAT", fs, messages);
  EXPECT_EQ(faceNameOf(setup.sourceFont), "DejaVu Sans Mono");
  EXPECT_EQ(+setup.sourceFont.pointSize, 200);
  EXPECT_GT(pitch(), before) << "the printout takes the larger font";
}

// The real font dialog, answered OK at once: the record then holds the font
// that was printed or shown before, not the dialog's first family.
TEST_F(SetupDialogTest, FontDialogStartsFromTheFontInUse) {
  for (bool printed : {true, false}) {
    SCOPED_TRACE(printed);
    FontData record{};
    QTimer::singleShot(0, [] {
      if (auto* d = qobject_cast<QFontDialog*>(QApplication::activeModalWidget())) d->accept();
    });
    ASSERT_TRUE(chooseFontInto(record, ChoiceDialogs::platform(), nullptr, printed));
    const QFont inUse = printed ? defaultListingFont() : QApplication::font();
    EXPECT_EQ(faceNameOf(record), QFontInfo(inUse).family().toStdString());
    const int tenths = printed ? TMyPrintout::kDefaultPointSize
                               : static_cast<int>(QFontInfo(inUse).pointSizeF() * 10 + 0.5);
    EXPECT_EQ(record.pointSize, tenths);
    const LogFont lf = record.logFont;
    EXPECT_EQ(lf.weight, 400);
    EXPECT_EQ(lf.italic, 0);
  }
}

// Choosing another family in the dialog keeps an upright regular style,
// whatever the family calls it and wherever it comes in its list.
TEST_F(SetupDialogTest, AnotherFamilyKeepsTheUprightRegularStyle) {
  QFontDialog dialog(dialogFontOf(FontData{}));
  keepStyleAcrossFamilies(dialog);
  QListView* families = nullptr;
  for (QListView* view : dialog.findChildren<QListView*>())
    if (view->model() && view->model()->rowCount() > 0 &&
        QFontDatabase::families().contains(view->model()->index(0, 0).data().toString()))
      families = families ? families : view;
  ASSERT_TRUE(families);
  int checked = 0;
  for (int row = 0; row < families->model()->rowCount(); ++row) {
    const QString family = families->model()->index(row, 0).data().toString();
    const QString regular = matchingStyle(family, QFont::Normal, false);
    if (regular.isEmpty() || QFontDatabase::font(family, regular, 12).style() != QFont::StyleNormal)
      continue;  // no upright style to keep
    families->setCurrentIndex(families->model()->index(row, 0));
    settle();
    const QFont font = dialog.currentFont();
    EXPECT_EQ(font.style(), QFont::StyleNormal) << family.toStdString();
    EXPECT_EQ(font.weight(), QFontDatabase::font(family, regular, 12).weight()) << family.toStdString();
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

TEST_F(SetupDialogTest, Screenshots) {
  auto d = open();
  QDir().mkpath(QStringLiteral(TARNLIST_SCREENSHOT_DIR));
  EXPECT_TRUE(d->grab().save(QStringLiteral(TARNLIST_SCREENSHOT_DIR "/setup-dialog.png")));
  std::int32_t word = kStyleBold;
  TLexStyle styles(word, nullptr);
  styles.show();
  EXPECT_TRUE(styles.grab().save(QStringLiteral(TARNLIST_SCREENSHOT_DIR "/styles-dialog.png")));
}

}  // namespace
}  // namespace tarn
