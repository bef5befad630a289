#pragma once

namespace tarn {

/// Marks a print job in progress: no window that it prints from may close
/// meanwhile (the progress dialog runs events while pages are drawn).
class PrintGuard {
 public:
  PrintGuard() { ++count(); }
  ~PrintGuard() { --count(); }
  PrintGuard(const PrintGuard&) = delete;
  PrintGuard& operator=(const PrintGuard&) = delete;
  static bool active() { return count() > 0; }

 private:
  static int& count() {
    static int n = 0;
    return n;
  }
};

}  // namespace tarn
