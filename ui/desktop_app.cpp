#include "ui/desktop_app.h"

#include <QApplication>
#include <QMessageBox>
#include <QProxyStyle>
#include <QScreen>

#include <ctime>
#include <exception>
#include <memory>

#include "platform/ini_profile.h"
#include "platform/posix/date_order.h"
#include "platform/posix/posix_file_attributes.h"
#include "platform/posix/real_file_system.h"
#include "platform/posix/user_environment.h"
#include "platform/posix/xdg_shell.h"
#include "pdf/qt/qt_fonts.h"
#include "platform/qt/qt_messages.h"
#include "settings/config_file.h"
#include "ui/main_frame.h"
#include "ui/menu_key_style.h"
#include "ui/qt_app_printer.h"

namespace tarn {
namespace {

/// Nothing thrown in a slot may cross the event loop: what no command
/// caught ends up here and is reported instead.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  MessageService* messages = nullptr;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      if (messages)
        messages->show(std::string(e.what()) + "\nOK to resume?", "Unhandled Exception",
                       MessageIcon::Stop, MessageButtons::YesNo);
    } catch (...) {
    }
    return false;
  }
};

}  // namespace

int runDesktop(int argc, char** argv, const DesktopStart& start) {
  GuardedApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tarnlist"));
  // Lets the desktop match the windows to the installed desktop entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("tarnlist"));
  QApplication::setStyle(new MenuKeyStyle(QApplication::style()->name()));
  QtMessageService messages;
  app.messages = &messages;
  try {
    RealFileSystem fs;
    SetupData setup = loadSetup(start.configPath, fs, messages);
    // Another instance may save while this one runs: only our changes go back.
    const SetupData loaded = setup;
    PosixFileAttributes attributes(userEnvironment);
    IniProfile profile(profilePath(userEnvironment));
    DateFormatter dates(profile, localeDateOrder, messages);
    XdgShell shell;
    QtAppPrinter printer;
    printer.setMessages(&messages);
    ListingExtras extras = readListingExtras(profile);
    extras.lineNumbers = extras.lineNumbers || start.lineNumbers;
    extras.pageCount = extras.pageCount || start.pageCount;
    AppContext context{setup, fs, attributes, messages, profile, dates, printingClock(processEnvironment), shell,
                       printer, extras, start.jobs};
    int status = 0;
    {
      MainFrame frame(context);
      messages.setParent(&frame);
      frame.placeOnScreen();
      frame.scheduleStartUp(start.argument, start.openFiles);
      status = QApplication::exec();
      messages.setParent(nullptr);
    }
    saveSetupChanges(start.configPath, loaded, setup, fs, messages);
    return status;
  } catch (const std::exception& e) {
    messages.show(e.what(), "Exception", MessageIcon::Stop, MessageButtons::Ok);
    return -1;
  }
}

}  // namespace tarn
