#include "platform/qt/qt_environment.h"

#include <QApplication>
#include <QGuiApplication>
#include <QtGlobal>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  // Without a session (cron, CI, ssh) Qt falls back to its own runtime folder
  // with a warning on every run; give it that folder quietly.
  if (!processEnvironment("XDG_RUNTIME_DIR")) {
    QByteArray dir = "/tmp/runtime-" + QByteArray::number(::getuid());
    struct stat st;
    if ((::mkdir(dir.constData(), 0700) == 0 || errno == EEXIST) && ::stat(dir.constData(), &st) == 0 &&
        S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 0777) == 0700)
      qputenv("XDG_RUNTIME_DIR", dir);
  }
#endif
}

bool hasInteractiveScreen() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace tarn
