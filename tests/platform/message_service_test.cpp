#include "platform/message_service.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tarn {
namespace {

std::string shown(std::string_view text, std::string_view caption, MessageButtons buttons,
                  MessageAnswer* answer = nullptr) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* f = ::open_memstream(&data, &size);
  StreamMessageService messages(f);
  MessageAnswer a = messages.show(text, caption, MessageIcon::Exclamation, buttons);
  if (answer) *answer = a;
  std::fclose(f);
  std::string out(data, size);
  std::free(data);
  return out;
}

TEST(StreamMessages, LinesOnStandardError) {
  struct Case {
    const char* text;
    const char* caption;
    MessageButtons buttons;
    const char* expected;
  };
  const Case cases[] = {
      {"Unable to open file", "File Error", MessageButtons::Ok, "tarnlist: File Error: Unable to open file\n"},
      {"Could not read file 'x'", "", MessageButtons::Ok, "tarnlist: Could not read file 'x'\n"},
      {"Line 3: Token is zero\nOK to resume?", "Unhandled Exception", MessageButtons::YesNo,
       "tarnlist: Unhandled Exception: Line 3: Token is zero\ntarnlist: OK to resume? No\n"},
      {"a\r\nb", "C", MessageButtons::Ok, "tarnlist: C: a\ntarnlist: b\n"},
      {"", "", MessageButtons::Ok, "tarnlist: \n"},
      {"Could not read file '/ü dir/Łódź.clw'", "", MessageButtons::Ok,
       "tarnlist: Could not read file '/ü dir/Łódź.clw'\n"},
      {"Token 'Caf\xE9'", "Fehler \x80", MessageButtons::Ok,
       "tarnlist: Fehler €: Token 'Café'\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(shown(c.text, c.caption, c.buttons), c.expected) << c.text;
  MessageAnswer answer = MessageAnswer::Yes;
  shown("?", "", MessageButtons::YesNo, &answer);
  EXPECT_EQ(answer, MessageAnswer::No) << "a batch run never waits for an answer";
}

}  // namespace
}  // namespace tarn
