#include "printout/dates.h"

#include <cstdlib>

#include <cstdio>

namespace tarn {

DateFormatter::DateFormatter(Profile& profile, LocaleOrder localeOrder, MessageService& messages)
    : profile_(profile), localeOrder_(std::move(localeOrder)), messages_(messages) {}

int DateFormatter::order() {
  if (order_ != kNotRead) return order_;
  order_ = profile_.getInt("Intl", "iDate", kNotRead);
  if (order_ == kNotRead && localeOrder_) order_ = localeOrder_().value_or(kNotRead);
  if (order_ == kNotRead) {
    messages_.show("Date settings could not be found in WIN.INI. Corrected to DD/MM/YY", "Warning",
                   MessageIcon::Exclamation);
    order_ = 1;
  }
  return order_;
}

std::string DateFormatter::formatDate(int day, int month, int year) {
  char buffer[64];
  switch (order()) {
    case 0: std::snprintf(buffer, sizeof buffer, "%02i/%02i/%04i", month, day, year); break;
    case 1: std::snprintf(buffer, sizeof buffer, "%02i/%02i/%04i", day, month, year); break;
    case 2: std::snprintf(buffer, sizeof buffer, "%04i/%02i/%02i", year, month, day); break;
    default: return {};
  }
  return buffer;
}

Clock printingClock(const Environment& env) {
  if (auto fixed = env("SOURCE_DATE_EPOCH")) {
    char* end = nullptr;
    const long long seconds = std::strtoll(fixed->c_str(), &end, 10);
    if (end && *end == '\0') return [seconds] { return static_cast<std::time_t>(seconds); };
  }
  return [] { return std::time(nullptr); };
}

}  // namespace tarn
