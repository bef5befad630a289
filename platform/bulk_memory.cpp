#include "platform/bulk_memory.h"

#include <new>

namespace tarn {
namespace {

void* newBlock(std::size_t bytes) { return ::operator new(bytes); }
void deleteBlock(void* block, std::size_t) { ::operator delete(block); }

BulkMemorySource source{&newBlock, &deleteBlock};

}  // namespace

void setBulkMemorySource(const BulkMemorySource& s) { source = s; }

void* allocateBulk(std::size_t bytes) {
  return bytes >= kBulkBlockBytes ? source.allocate(bytes) : newBlock(bytes);
}

void releaseBulk(void* block, std::size_t bytes) {
  if (!block) return;
  if (bytes >= kBulkBlockBytes)
    source.release(block, bytes);
  else
    deleteBlock(block, bytes);
}

}  // namespace tarn
