#pragma once

#include <QFont>
#include <QString>

#include <optional>

#include "settings/setup_data.h"

class QFontDialog;
class QWidget;

namespace tarn {

/// The font a settings record shows in the font dialog: the face that is
/// really used (fontconfig's match for the name; for an empty face the one a
/// listing prints in, or with `printed` false the window's default font) at
/// the record's size, so that OK without a change keeps what is printed.
QFont dialogFontOf(const FontData& data, bool printed = true);

/// The style of `family` nearest to `weight` with `italic` as asked: an
/// upright regular one for a family without a style named "Normal". Empty
/// when the family has no styles.
QString matchingStyle(const QString& family, int weight, bool italic);

/// Keeps `dialog`'s style when another family is chosen: the new family's
/// style of the same weight and slant is selected, never its first one.
void keepStyleAcrossFamilies(QFontDialog& dialog);

/// The platform's font dialog at `initial`; nothing on Cancel.
std::optional<QFont> runFontDialog(const QFont& initial, QWidget* parent);

}  // namespace tarn
