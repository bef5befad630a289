#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace tarn {

/// Text of either kind (UTF-8 file names, Windows-1252 source text, as
/// cp1252::asUtf8 tells them apart) as UTF-16, astral characters as
/// surrogate pairs.
std::u16string pdfUtf16(std::string_view text);

/// A PDF text string: ASCII as a literal, anything else as UTF-16BE with a
/// byte order mark.
std::string pdfTextString(std::u16string_view text);
/// Always UTF-16BE with a byte order mark, as outline titles are written: a
/// literal string of the bytes.
std::string pdfUtf16String(std::u16string_view text);

/// A PDF date string of a moment, in UTC: (D:YYYYMMDDHHmmSSZ).
std::string pdfDate(std::time_t when);

}  // namespace tarn
