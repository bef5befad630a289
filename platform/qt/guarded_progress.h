#pragma once

#include <QCloseEvent>
#include <QProgressDialog>

#include <functional>

namespace tarn {

/// A progress dialog that a key closing windows (Alt+F4) cannot end by
/// mistake: it ends the job only when `confirm` says so; without `confirm`
/// the close is refused. Its Cancel button cancels at once, as it says.
class GuardedProgressDialog : public QProgressDialog {
 public:
  using QProgressDialog::QProgressDialog;
  std::function<bool()> confirm;

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (confirm && confirm()) {
      QProgressDialog::closeEvent(event);
    } else {
      event->ignore();
    }
  }
};

}  // namespace tarn
