#pragma once

#include <QFont>
#include <QString>

#include <string>

#include "platform/canvas.h"
#include "settings/setup_data.h"

namespace tarn {

/// The font of a window from the settings' choice: the default GUI font when
/// no face was chosen, else the face with its character height in pixels.
QFont windowFontOf(const FontData& data);

/// The font's metrics as the layout formulas read them.
TextMetrics textMetricsOf(const QFont& font);

/// Text typed by the user in Windows-1252. A character the code page lacks
/// becomes `missing`: NUL for a filter (no source text holds it, so it
/// matches nothing), "?" for text that is kept.
std::string cp1252FromQString(const QString& text, char missing = '\0');

}  // namespace tarn
