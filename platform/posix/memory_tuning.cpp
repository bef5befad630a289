#include "platform/posix/memory_tuning.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>  // defines __GLIBC__ on glibc systems
#include <mutex>
#include <new>
#include <vector>

#include "platform/bulk_memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tarn {
namespace {

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

std::size_t roundUp(std::size_t bytes) {
  return (bytes + kBulkBlockBytes - 1) / kBulkBlockBytes * kBulkBlockBytes;
}

// Maps a block aligned to a huge page so the kernel may back it with one, and
// fills its page tables in one call instead of one fault per 4 KB page. Both
// are hints: where the kernel declines, the block works as plain memory.
void* mapFresh(std::size_t bytes) {
  const std::size_t size = roundUp(bytes);
  const std::size_t mapped = size + kBulkBlockBytes;
  void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  auto start = reinterpret_cast<std::uintptr_t>(raw);
  auto aligned = (start + kBulkBlockBytes - 1) / kBulkBlockBytes * kBulkBlockBytes;
  if (aligned > start) munmap(raw, aligned - start);
  if (std::size_t tail = start + mapped - (aligned + size)) munmap(reinterpret_cast<void*>(aligned + size), tail);
  void* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  madvise(block, size, MADV_HUGEPAGE);
#endif
  madvise(block, size, MADV_POPULATE_WRITE);
  return block;
}

// Blocks of one bulk size are kept for the next file, as malloc keeps freed
// memory below its trim threshold: opening a file again costs no new pages.
constexpr std::size_t kKeptBlocks = 64;
std::mutex keptMutex;
std::vector<void*> kept;

void* mapBlock(std::size_t bytes) {
  if (roundUp(bytes) == kBulkBlockBytes) {
    std::lock_guard lock(keptMutex);
    if (!kept.empty()) {
      void* block = kept.back();
      kept.pop_back();
      return block;
    }
  }
  return mapFresh(bytes);
}

void unmapBlock(void* block, std::size_t bytes) {
  if (roundUp(bytes) == kBulkBlockBytes) {
    std::lock_guard lock(keptMutex);
    if (kept.size() < kKeptBlocks) {
      kept.push_back(block);
      return;
    }
  }
  munmap(block, roundUp(bytes));
}

}  // namespace

void tuneMemoryForLargeFiles() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 16 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
#endif
  {
    std::lock_guard lock(keptMutex);
    kept.reserve(kKeptBlocks);  // releasing must never allocate
  }
  setBulkMemorySource(BulkMemorySource{&mapBlock, &unmapBlock});
}

}  // namespace tarn
