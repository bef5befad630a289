#pragma once

#include <optional>
#include <string_view>

namespace tarn {

/// The order of day, month and year in a strftime() date format:
/// 0 month-day-year, 1 day-month-year, 2 year-month-day; nothing when the
/// format does not show all three in one of these orders.
std::optional<int> dateOrderFromFormat(std::string_view format);

/// The date order of the LC_TIME locale's date format (nl_langinfo(D_FMT)).
/// The caller selects the user's locale first (setlocale(LC_TIME, "")); until
/// then this is the "C" locale's month-day-year. Not thread-safe, as
/// nl_langinfo is not.
std::optional<int> localeDateOrder();

}  // namespace tarn
