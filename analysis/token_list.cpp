#include "analysis/token_list.h"

#include <algorithm>
#include <cstring>

namespace tarn {
namespace {
constexpr std::size_t kBlockSize = 64 * 1024;
}

const char* TokenList::store(std::string_view text) {
  std::size_t need = text.size() + 1;
  if (need > room_) {
    // Small blocks until the texts fill a bulk block, then bulk blocks.
    std::size_t size = std::max(textBytes_ >= kBulkBlockBytes ? kBulkBlockBytes : kBlockSize, need);
    blocks_.emplace_back(allocateBulk(size), BulkDeleter{size});  // left uninitialised
    free_ = static_cast<char*>(blocks_.back().get());
    room_ = size;
    textBytes_ += size;
  }
  char* out = free_;
  std::memcpy(out, text.data(), text.size());
  out[text.size()] = '\0';
  free_ += need;
  room_ -= need;
  return out;
}

TToken* TokenList::appendToken(std::string_view text, std::int32_t tokenClass,
                               std::uint32_t flags, std::int32_t line) {
  return append(store(text), static_cast<std::uint32_t>(text.size()), tokenClass, flags, line);
}

void TokenList::clear() {
  TLinkedList<TToken>::clear();
  blocks_.clear();
  free_ = nullptr;
  room_ = 0;
  textBytes_ = 0;
}

std::size_t TokenList::memoryBytes() const { return elementBytes() + textBytes_; }

}  // namespace tarn
