#include "platform/qt/qt_environment.h"

#include <QApplication>
#include <QGuiApplication>
#include <QtGlobal>

namespace tarn {

bool headlessPlatformNeeded(const Environment& env) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  return !env("DISPLAY") && !env("WAYLAND_DISPLAY") && !env("QT_QPA_PLATFORM");
#else
  (void)env;  // Windows and macOS always have their own platform
  return false;
#endif
}

void selectHeadlessPlatformIfNeeded() {
  if (headlessPlatformNeeded(processEnvironment)) qputenv("QT_QPA_PLATFORM", "offscreen");
}

bool hasInteractiveScreen() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace tarn
