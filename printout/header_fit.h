#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tarn {

/// Extent of a text on the page (the header font of the device).
using TextExtent = std::function<int(std::string_view)>;

/// The page header's display name of `path` ("  NAME  (FOLDER)") in at most
/// `room`: whole when it fits; else the folder shortened in its middle,
/// keeping its first part and as many last folders as fit
/// ("  NAME  (/home/.../libsrc/win)"); else the file name alone; else the
/// file name cut at its end with "...". Text is UTF-8 and never cut inside
/// a character.
std::string fitDisplayName(std::string_view path, int room, const TextExtent& width);

/// `text` whole when it fits `room`, else cut at its end with "..."; empty
/// when not even that fits.
std::string fitText(std::string_view text, int room, const TextExtent& width);

}  // namespace tarn
