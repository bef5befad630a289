#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

/// The entry point libFuzzer calls; the replay driver calls it for each file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace tarn::fuzz {

/// Reports a broken invariant and aborts, so that the fuzzer keeps the input.
[[noreturn]] void fail(std::string_view what, const char* file, int line);

/// The input as bytes of text.
inline std::string_view bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

/// Reads inputs front to back: small choices, then the rest as text.
class Input {
 public:
  explicit Input(std::string_view bytes) : rest_(bytes) {}
  /// The next byte, 0 once the input is used up.
  std::uint8_t byte() {
    if (rest_.empty()) return 0;
    auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  /// Text up to the next `separator` (dropped) or the end.
  std::string_view piece(char separator) {
    std::size_t at = rest_.find(separator);
    std::string_view p = rest_.substr(0, at);
    rest_.remove_prefix(at == std::string_view::npos ? rest_.size() : at + 1);
    return p;
  }
  std::string_view rest() const { return rest_; }
  bool empty() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

}  // namespace tarn::fuzz

#define FUZZ_CHECK(cond, what) \
  ((cond) ? (void)0 : ::tarn::fuzz::fail(what, __FILE__, __LINE__))
