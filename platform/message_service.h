#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tarn {

enum class MessageIcon { None, Exclamation, Stop, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

/// Modal message boxes: a text, a caption, an icon and the buttons offered.
/// The desktop shows a box, the command line writes to standard error, tests
/// record every message and answer from a script.
class MessageService {
 public:
  virtual ~MessageService() = default;
  virtual MessageAnswer show(std::string_view text, std::string_view caption,
                             MessageIcon icon = MessageIcon::Exclamation,
                             MessageButtons buttons = MessageButtons::Ok) = 0;
};

/// Writes each message as one line to a stream (standard error on the command
/// line). Yes/No questions are answered No, so a batch run never waits.
class StreamMessageService : public MessageService {
 public:
  explicit StreamMessageService(std::FILE* out);
  MessageAnswer show(std::string_view text, std::string_view caption, MessageIcon icon,
                     MessageButtons buttons) override;
  int count() const { return count_; }

 private:
  std::FILE* out_;
  int count_ = 0;
};

}  // namespace tarn
