#include "platform/message_service.h"

#include <string>

namespace tarn {

StreamMessageService::StreamMessageService(std::FILE* out) : out_(out) {}

MessageAnswer StreamMessageService::show(std::string_view text, std::string_view caption,
                                         MessageIcon, MessageButtons buttons) {
  ++count_;
  std::string line = "tarnlist: ";
  if (!caption.empty()) {
    line.append(caption);
    line += ": ";
  }
  // Message texts may carry line breaks ("...\nOK to resume?"); keep one line.
  for (char c : text) line += (c == '\n' || c == '\r') ? ' ' : c;
  line += '\n';
  std::fputs(line.c_str(), out_);
  std::fflush(out_);
  return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

}  // namespace tarn
