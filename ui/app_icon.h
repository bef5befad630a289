#pragma once

#include <QIcon>

namespace tarn {

/// The program's icon: a listing page with coloured lines, drawn at the
/// sizes a desktop asks for.
QIcon appIcon();

}  // namespace tarn
