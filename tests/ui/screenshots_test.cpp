// Pictures of the desktop windows for people to look at: written into
// build/screenshots/, checked only for being there.
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QMdiSubWindow>

#include "ui/preview_window.h"
#include "ui_fixture.h"

namespace tarn {
namespace {

const QString kFolder = QStringLiteral(TARNLIST_SCREENSHOT_DIR);

bool save(QWidget& widget, const char* name) {
  QDir().mkpath(kFolder);
  return widget.grab().save(kFolder + "/" + name);
}

TEST(Screenshots, MainWindowFileWindowAndPreview) {
  test::UiFixture ui;
  ui.fs.create("/src/MAIN.CLW",
               "  PROGRAM\n  MAP\n  END\n  CODE\n  DO Init\nInit ROUTINE\n"
               "  ! Before Embed Point: %Init) DESC(Initialisation) ARG()\n  x = 1\n"
               "  ! After Embed Point: %Init) DESC(Initialisation) ARG()\n"
               "Browse PROCEDURE\nWin WINDOW('Browse'),AT(0,0,200,100)\n    END\n  CODE\n"
               "  ! Before Embed Point: %WindowEvent) DESC(Window Event Handling) ARG(Accepted)\n"
               "  MESSAGE('Hello')\n"
               "  ! After Embed Point: %WindowEvent) DESC(Window Event Handling) ARG(Accepted)\n"
               "Report PROCEDURE\n  CODE\nCalc FUNCTION(LONG n)\n  CODE\n  RETURN n * 2\n");
  ui.fs.create("/src/UTIL.CLW", "  MEMBER('MAIN')\nUtil PROCEDURE\n  CODE\nLater ROUTINE\n  y = 2\n");
  MainFrame& frame = ui.start();
  frame.resize(1100, 760);
  frame.openFiles({"/src/MAIN.CLW", "/src/UTIL.CLW"});
  ui.settle();
  EXPECT_TRUE(save(frame, "main-window.png"));

  varnixWindowView* main = ui.fileWindows().front();
  main->parentWidget()->showMaximized();
  main->unitFilter()->setText(QStringLiteral("r"));
  ui.settle();
  EXPECT_TRUE(save(*main, "file-window-filtered.png"));

  bool previewed = false;
  frame.runPreview = [&](QDialog& preview) {
    preview.resize(frame.size());
    preview.show();
    ui.settle();
    previewed = save(preview, "preview.png");
  };
  frame.action(kCmdPrintPreview)->trigger();
  EXPECT_TRUE(previewed);
}

}  // namespace
}  // namespace tarn
