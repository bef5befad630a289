#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ui/about_dialog.h"
#include "ui/help.h"
#include "ui_fixture.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;
using test::UiFixture;

class HelpAboutTest : public ::testing::Test, public UiFixture {};

struct HelpCase {
  const char* name;
  bool pageThere, browserStarts;
  Strings urls, said;
};

const char* const kProgram = "/opt/tarn list/tarnlist";

TEST_F(HelpAboutTest, HelpOpensTheSectionOrSaysWhyNot) {
  const HelpCase cases[] = {
      {"Opened", true, true, {"file:///opt/tarn%20list/quorlo.html#setup"}, {}},
      {"PageMissing", false, true, {},
       {"Tarnlist for Clarion: The help page quorlo.html was not found beside the program."}},
      {"NoBrowser", true, false, {"file:///opt/tarn%20list/quorlo.html#setup"},
       {"Tarnlist for Clarion: The help page could not be opened: no browser could be started."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs.files.clear();
    if (c.pageThere) fs.create("/opt/tarn list/quorlo.html", "<!DOCTYPE html>");
    shell.urls.clear();
    shell.urlAnswer = c.browserStarts;
    messages.messages.clear();

    EXPECT_EQ(openHelpBeside(app, kProgram, kHelpSetup), c.said.empty());
    EXPECT_EQ(shell.urls, c.urls);
    EXPECT_EQ(said(), c.said);
    for (const auto& m : messages.messages) EXPECT_EQ(m.icon, MessageIcon::Exclamation);
  }
}

TEST_F(HelpAboutTest, AboutShowsTitleAndVersionAndClosesWithOkOrEsc) {
  for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
    AboutDialog about;
    about.show();
    EXPECT_EQ(about.windowTitle().toStdString(), "About Tarnlist");
    EXPECT_EQ(about.titleLabel()->text().toStdString(), "Tarnlist for Clarion");
    EXPECT_EQ(about.versionLabel()->text().toStdString(), "Version 0.1.0");
    EXPECT_TRUE(about.okButton()->isDefault());
    QTest::keyClick(&about, static_cast<Qt::Key>(key));
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected);
  }
}

}  // namespace
}  // namespace tarn
