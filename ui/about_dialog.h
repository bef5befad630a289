#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tarn {

/// Help › About: the program's icon, title, version, what it is and whom
/// to write to; OK (the default button) or Esc closes it.
class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  enum : int { kDialogId = 22000 };

  explicit AboutDialog(QWidget* parent = nullptr);

  QLabel* titleLabel() const { return title_; }
  QLabel* versionLabel() const { return version_; }
  QPushButton* okButton() const { return ok_; }

 private:
  QLabel* title_ = nullptr;
  QLabel* version_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace tarn
