#include "platform/posix/date_order.h"

#include <langinfo.h>

#include <string>

namespace tarn {
namespace {

/// The field a conversion character stands for, expanding the composite
/// ones into `out`; other conversions add nothing.
void fieldsOf(char conversion, std::string& out) {
  switch (conversion) {
    case 'd': case 'e':
      out += 'D';
      break;
    case 'm': case 'b': case 'B': case 'h':
      out += 'M';
      break;
    case 'y': case 'Y': case 'C': case 'g': case 'G':
      out += 'Y';
      break;
    case 'D':
      out += "MDY";
      break;
    case 'F':
      out += "YMD";
      break;
    default:
      break;
  }
}

}  // namespace

std::optional<int> dateOrderFromFormat(std::string_view format) {
  std::string fields;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    ++i;
    // glibc flags and field width, then the E and O modifiers.
    while (i < format.size() && std::string_view("_-0^#").find(format[i]) != std::string_view::npos)
      ++i;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
    if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) ++i;
    if (i < format.size()) fieldsOf(format[i], fields);  // "%%" adds nothing
  }
  // Each field counts where it first appears ("%C%y" is one year).
  std::string order;
  for (char f : fields)
    if (order.find(f) == std::string::npos) order += f;
  if (order == "MDY") return 0;
  if (order == "DMY") return 1;
  if (order == "YMD") return 2;
  return std::nullopt;
}

std::optional<int> localeDateOrder() {
  const char* format = ::nl_langinfo(D_FMT);
  return format ? dateOrderFromFormat(format) : std::nullopt;
}

}  // namespace tarn
