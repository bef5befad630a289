#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

#include <functional>
#include <map>
#include <optional>

#include "desktop/dialog_template.h"
#include "ui/app_context.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tarn {

/// Builds a dialog's controls from its template, placed in dialog units of
/// the dialog's font. Returns the widget of each control in template order.
std::vector<QWidget*> buildFromTemplate(QDialog& dialog, const DialogTemplate& t);

/// The font and colour dialogs the setup dialog runs; tests answer them.
struct ChoiceDialogs {
  std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)> color;
  std::function<std::optional<QFont>(const QFont& initial, QWidget* parent)> font;
  /// Runs a child dialog modally (the Styles dialog).
  std::function<int(QDialog&)> run;
  /// The platform's dialogs.
  static ChoiceDialogs platform();
};

/// The font dialog on a settings font: prepared as the record asks, and on
/// OK the choice stored into it. Returns whether it was stored. `printed`:
/// a listing's font (else the windows' font).
bool chooseFontInto(FontData& font, const ChoiceDialogs& dialogs, QWidget* parent,
                    bool printed = true);

/// The Styles dialog: italic and bold of one token class's style word.
class TLexStyle : public QDialog {
  Q_OBJECT
 public:
  TLexStyle(std::int32_t& style, QWidget* parent);
  QCheckBox* italic() const { return italic_; }
  QCheckBox* bold() const { return bold_; }
  void accept() override;

 private:
  std::int32_t& style_;
  QCheckBox* italic_ = nullptr;
  QCheckBox* bold_ = nullptr;
};

/// The setup dialog: every printout option of the settings, edited in place.
class TSetupDlg : public QDialog {
  Q_OBJECT
 public:
  TSetupDlg(AppContext& app, QWidget* parent, ChoiceDialogs dialogs = ChoiceDialogs::platform());

  /// The control of an id; for 1520 the "&Style..." button, not the group.
  QWidget* control(int id) const;
  QListWidget* classList() const;
  /// Runs the confirmation; closes the dialog only when it succeeds.
  void accept() override;

  /// Help at the setup section; set by the application.
  std::function<void()> help;

 private:
  void updateUnitChoice();
  void editStyle();
  void editColor();

  AppContext& app_;
  ChoiceDialogs dialogs_;
  std::map<int, QWidget*> controls_;
};

/// The sixteen custom colours of the colour dialog, kept for the run only.
std::array<QRgb, 16>& customColors();

}  // namespace tarn
