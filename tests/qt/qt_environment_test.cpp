#include "platform/qt/qt_environment.h"

#include <gtest/gtest.h>

#include <QMessageBox>

#include <map>
#include <string>

#include "platform/qt/qt_messages.h"

namespace tarn {
namespace {

TEST(QtEnvironmentTest, HeadlessPlatformOnlyWithoutAnyDisplay) {
  struct Case {
    const char* name;
    std::map<std::string, std::string> vars;
    bool headless;
  };
  const Case cases[] = {
      {"nothing set", {}, true},
      {"X display", {{"DISPLAY", ":0"}}, false},
      {"Wayland display", {{"WAYLAND_DISPLAY", "wayland-0"}}, false},
      {"platform chosen", {{"QT_QPA_PLATFORM", "xcb"}}, false},
      {"empty values count as unset", {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Environment env = [&c](const char* name) -> std::optional<std::string> {
      auto it = c.vars.find(name);
      if (it == c.vars.end() || it->second.empty()) return std::nullopt;
      return it->second;
    };
    EXPECT_EQ(headlessPlatformNeeded(env), c.headless);
  }
}

TEST(QtMessagesTest, BoxesShowWindows1252TextWithTheirIconAndButtons) {
  const struct {
    MessageIcon icon;
    MessageButtons buttons;
    QMessageBox::Icon qtIcon;
    QMessageBox::StandardButtons qtButtons;
  } cases[] = {
      {MessageIcon::Exclamation, MessageButtons::Ok, QMessageBox::Warning, QMessageBox::Ok},
      {MessageIcon::Stop, MessageButtons::Ok, QMessageBox::Critical, QMessageBox::Ok},
      {MessageIcon::Information, MessageButtons::Ok, QMessageBox::Information, QMessageBox::Ok},
      {MessageIcon::Question, MessageButtons::YesNo, QMessageBox::Question,
       QMessageBox::Yes | QMessageBox::No},
      {MessageIcon::None, MessageButtons::YesNo, QMessageBox::NoIcon,
       QMessageBox::Yes | QMessageBox::No},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.icon));
    auto box = makeMessageBox("Could not read file 'C:\\Stra\xDF" "e\\<b>x\x80.clw' \xBB",
                              "Tarnlist", c.icon, c.buttons, nullptr);
    EXPECT_EQ(box->text(), QString::fromUtf8("Could not read file 'C:\\Straße\\<b>x€.clw' »"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Tarnlist"));
    EXPECT_EQ(box->icon(), c.qtIcon);
    EXPECT_EQ(box->standardButtons(), c.qtButtons);
  }
}

TEST(QtMessagesTest, WithoutAScreenMessagesAreAnsweredWithoutWaiting) {
  if (hasInteractiveScreen()) GTEST_SKIP() << "a real screen is available";
  QtMessageService messages;
  EXPECT_EQ(messages.show("Print all files?", "Tarnlist", MessageIcon::Question,
                          MessageButtons::YesNo),
            MessageAnswer::No);
  EXPECT_EQ(messages.show("Done", "Tarnlist", MessageIcon::Information, MessageButtons::Ok),
            MessageAnswer::Ok);
}

}  // namespace
}  // namespace tarn
