#include "platform/message_service.h"

#include <string>

#include "platform/cp1252.h"

namespace tarn {

StreamMessageService::StreamMessageService(std::FILE* out) : out_(out) {}

MessageAnswer StreamMessageService::show(std::string_view message, std::string_view title,
                                         MessageIcon, MessageButtons buttons) {
  ++count_;
  // File names are UTF-8 already; other text is the code page's.
  const std::string textUtf8 = cp1252::asUtf8(message), captionUtf8 = cp1252::asUtf8(title);
  const std::string_view text = textUtf8, caption = captionUtf8;
  // One "tarnlist: " line per line of the text, the caption on the first.
  std::string out;
  std::size_t start = 0;
  do {
    std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out += "tarnlist: ";
    if (start == 0 && !caption.empty()) {
      out.append(caption);
      out += ": ";
    }
    out.append(line);
    start = end == std::string_view::npos ? text.size() + 1 : end + 1;
    // Nobody can answer a question here: it is answered No.
    if (start > text.size() && buttons == MessageButtons::YesNo) out += " No";
    out += '\n';
  } while (start <= text.size());
  std::fputs(out.c_str(), out_);
  std::fflush(out_);
  return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

}  // namespace tarn
