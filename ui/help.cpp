#include "ui/help.h"

#include <QCoreApplication>
#include <QFile>
#include <QVariant>
#include <QWidget>

namespace tarn {

bool openHelpBeside(AppContext& app, const std::string& programPath, int context) {
  const std::string page = helpPagePath(programPath, app.fs);
  if (!app.fs.stat(page).isRegular || !app.fs.isReadable(page)) {
    app.messages.show("The help page " + std::string(kHelpPageName) +
                          " was not found beside the program.",
                      kAppName, MessageIcon::Exclamation);
    return false;
  }
  if (!app.shell.openUrl(helpUrl(page, context))) {
    app.messages.show("The help page could not be opened: no browser could be started.", kAppName,
                      MessageIcon::Exclamation);
    return false;
  }
  return true;
}

bool openHelp(AppContext& app, int context) {
  // The path's bytes as the file system has them, whatever the locale.
  const QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
  return openHelpBeside(app, program.toStdString(), context);
}

namespace {
const char* const kContextProperty = "tarnHelpContext";
}

void setHelpContext(QWidget* widget, int context) { widget->setProperty(kContextProperty, context); }

int helpContextOf(const QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    const QVariant context = widget->property(kContextProperty);
    if (context.isValid()) return context.toInt();
  }
  return kHelpContents;
}

bool openUsingHelp(AppContext& app) { return openHelp(app, kHelpUsingHelp); }

}  // namespace tarn
