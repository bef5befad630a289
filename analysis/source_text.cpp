#include "analysis/source_text.h"

#include <algorithm>

#include "platform/cp1252.h"

namespace tarn {
namespace {

constexpr unsigned char kBom[3] = {0xEF, 0xBB, 0xBF};

}  // namespace

void SourceTextReader::checkUtf8(unsigned char b) {
  if (pending_ > 0) {
    if (b < lo_ || b > hi_) {
      utf8Valid_ = false;
      return;
    }
    --pending_;
    lo_ = 0x80;
    hi_ = 0xBF;
    return;
  }
  if (b < 0x80) return;
  multiByte_ = true;
  // Overlong forms, surrogates and code points past U+10FFFF are refused
  // through the range of the first continuation byte.
  if (b >= 0xC2 && b <= 0xDF) {
    pending_ = 1;
  } else if (b >= 0xE0 && b <= 0xEF) {
    pending_ = 2;
    if (b == 0xE0) lo_ = 0xA0;
    if (b == 0xED) hi_ = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    pending_ = 3;
    if (b == 0xF0) lo_ = 0x90;
    if (b == 0xF4) hi_ = 0x8F;
  } else {
    utf8Valid_ = false;
  }
}

bool SourceTextReader::feed(std::string_view chunk) {
  if (done_) return false;
  std::size_t i = 0;
  while (!started_ && i < chunk.size()) {
    if (static_cast<unsigned char>(chunk[i]) != kBom[bomSeen_]) {
      // Not a mark after all: the bytes held back are text.
      started_ = true;
      std::uint8_t held = bomSeen_;
      bomSeen_ = 0;
      for (std::uint8_t k = 0; k < held; ++k) {
        checkUtf8(kBom[k]);
        text_ += static_cast<char>(kBom[k]);
      }
      break;
    }
    ++i;
    if (++bomSeen_ == 3) {
      started_ = true;
      bomSeen_ = 0;
    }
  }
  if (text_.capacity() < text_.size() + (chunk.size() - i))
    text_.reserve(std::max(text_.size() + (chunk.size() - i), text_.capacity() * 2));
  for (; i < chunk.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(chunk[i]);
    if (b == '\r') {
      if (pending_ > 0) utf8Valid_ = false;
      continue;
    }
    if (b == 0x1A || b == 0) {
      done_ = true;
      stoppedAtNul_ = b == 0;
      return false;
    }
    if (utf8Valid_ && (b >= 0x80 || pending_ > 0)) checkUtf8(b);
    text_ += static_cast<char>(b);
  }
  return true;
}

std::string SourceTextReader::take() {
  // The start of a mark alone at the end of the file is text too.
  started_ = true;
  for (std::uint8_t k = 0; k < bomSeen_; ++k) {
    checkUtf8(kBom[k]);
    text_ += static_cast<char>(kBom[k]);
  }
  bomSeen_ = 0;
  if (utf8Valid_ && pending_ == 0 && multiByte_) return cp1252::fromUtf8(text_);
  return std::move(text_);
}

std::string sourceTextOf(std::string_view bytes) {
  SourceTextReader reader;
  reader.feed(bytes);
  return reader.take();
}

}  // namespace tarn
