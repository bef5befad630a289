#pragma once

#include <cstddef>

namespace tarn {

/// Where the big, long-lived blocks of an analysis (token nodes and token
/// texts) come from. By default operator new; a program may install a source
/// that maps large blocks itself: on virtual machines every fresh 4 KB page
/// costs a fault, and a 20 MB file takes some 40,000 of them.
struct BulkMemorySource {
  void* (*allocate)(std::size_t bytes);  ///< never null; throws std::bad_alloc
  void (*release)(void* block, std::size_t bytes);
};

/// Blocks of this size (and their multiples) are worth mapping as a whole.
inline constexpr std::size_t kBulkBlockBytes = 2 * 1024 * 1024;

/// Installs `source` for blocks of kBulkBlockBytes and more; smaller ones
/// always use operator new. Call before any analysis runs.
void setBulkMemorySource(const BulkMemorySource& source);

/// A block of `bytes`, uninitialised; release it with the same size.
void* allocateBulk(std::size_t bytes);
void releaseBulk(void* block, std::size_t bytes);

/// Deleter for unique_ptr over a bulk block.
struct BulkDeleter {
  std::size_t bytes = 0;
  void operator()(void* block) const { releaseBulk(block, bytes); }
};

}  // namespace tarn
