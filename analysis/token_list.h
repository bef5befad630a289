#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "analysis/token.h"
#include "platform/bulk_memory.h"

namespace tarn {

/// The tokens of one file, with the store that holds their texts.
class TokenList : public TLinkedList<TToken> {
 public:
  /// Appends a token whose text is a copy of `text`.
  TToken* appendToken(std::string_view text, std::int32_t tokenClass, std::uint32_t flags,
                      std::int32_t line);

  /// Removes every token and frees the texts.
  void clear();

  /// Bytes held by the tokens and their texts.
  std::size_t memoryBytes() const;

 private:
  const char* store(std::string_view text);

  std::vector<std::unique_ptr<void, BulkDeleter>> blocks_;
  char* free_ = nullptr;
  std::size_t room_ = 0;
  std::size_t textBytes_ = 0;
};

}  // namespace tarn
