#include "platform/ordered_jobs.h"

namespace tarn {

int defaultJobs() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int>(std::min(n, 64u));
}

MessageAnswer HeldMessages::show(std::string_view text, std::string_view caption,
                                 MessageIcon icon, MessageButtons buttons) {
  held_.push_back(Held{std::string(text), std::string(caption), icon, buttons});
  return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

std::string HeldMessages::firstLine() const {
  if (held_.empty()) return {};
  const std::string& text = held_.front().text;
  return text.substr(0, text.find('\n'));
}

void HeldMessages::replay(MessageService& to) const {
  for (const Held& h : held_) to.show(h.text, h.caption, h.icon, h.buttons);
}

}  // namespace tarn
