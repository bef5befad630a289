#pragma once

#include <QProxyStyle>

namespace tarn {

/// Alt pressed and released alone moves into the menu bar, so every menu
/// stays reachable from the keyboard whatever a window's mnemonics take.
class MenuKeyStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_MenuBar_AltKeyNavigation) return 1;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

}  // namespace tarn
