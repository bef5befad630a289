#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "platform/environment.h"
#include "platform/message_service.h"
#include "platform/profile.h"

namespace tarn {

/// Formats dates in the order the user's settings name: the profile's
/// "Intl"/"iDate" (0 month-day-year, 1 day-month-year, 2 year-month-day),
/// else the locale's order. Read once per run; when neither gives an order,
/// one warning and day-month-year.
class DateFormatter {
 public:
  using LocaleOrder = std::function<std::optional<int>()>;
  DateFormatter(Profile& profile, LocaleOrder localeOrder, MessageService& messages);

  /// "DD/MM/YYYY", "MM/DD/YYYY" or "YYYY/MM/DD"; empty for any other order.
  std::string formatDate(int day, int month, int year);

  /// The order in force (read on first use).
  int order();

 private:
  static constexpr int kNotRead = 100;
  Profile& profile_;
  LocaleOrder localeOrder_;
  MessageService& messages_;
  int order_ = kNotRead;
};

/// The current time; tests and reproducible runs fix it.
using Clock = std::function<std::time_t()>;

/// The printing time: $SOURCE_DATE_EPOCH when set (reproducible output),
/// else the time of each call.
Clock printingClock(const Environment& env);

}  // namespace tarn
