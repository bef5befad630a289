#include "platform/bulk_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "analysis/token_list.h"
#include "platform/posix/memory_tuning.h"

namespace tarn {
namespace {

// Records what the installed source hands out, so that a block released with
// another size than it was made with (which munmap would not forgive) shows.
std::map<void*, std::size_t> outstanding;
int bulkBlocks = 0;

void* recordAllocate(std::size_t bytes) {
  void* p = ::operator new(bytes);
  outstanding[p] = bytes;
  ++bulkBlocks;
  return p;
}
void recordRelease(void* p, std::size_t bytes) {
  auto it = outstanding.find(p);
  ASSERT_NE(it, outstanding.end());
  EXPECT_EQ(it->second, bytes);
  outstanding.erase(it);
  ::operator delete(p);
}

std::string textOf(int i) { return "token" + std::to_string(i); }

TEST(BulkMemory, LongTokenListsTakeWholeBlocksAndGiveBackEachAsMade) {
  setBulkMemorySource({&recordAllocate, &recordRelease});
  {
    TokenList list;
    for (int i = 0; i < 200'000; ++i) list.appendToken(textOf(i), 3, 0, i + 1);
    EXPECT_GT(bulkBlocks, 2);
    int i = 0;
    for (TToken* t = list.front(); t; t = t->next(), ++i) ASSERT_EQ(t->view(), textOf(i));
    EXPECT_EQ(i, 200'000);
  }
  EXPECT_TRUE(outstanding.empty());
  bulkBlocks = 0;
  {
    TokenList small;  // a short file never reaches the bulk source
    for (int i = 0; i < 100; ++i) small.appendToken(textOf(i), 3, 0, 1);
  }
  EXPECT_EQ(bulkBlocks, 0);
}

TEST(BulkMemory, MappedBlocksAreAlignedWritableAndReleased) {
  tuneMemoryForLargeFiles();
  for (std::size_t bytes : {kBulkBlockBytes, kBulkBlockBytes + 1, 3 * kBulkBlockBytes}) {
    auto* p = static_cast<char*>(allocateBulk(bytes));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % kBulkBlockBytes, 0u) << bytes;
    std::memset(p, 0x5A, bytes);
    EXPECT_EQ(p[bytes - 1], 0x5A);
    releaseBulk(p, bytes);
  }
  TokenList list;  // the program's own source, end to end
  for (int i = 0; i < 100'000; ++i) list.appendToken(textOf(i), 3, 0, 1);
  EXPECT_EQ(list.back()->view(), textOf(99'999));
}

}  // namespace
}  // namespace tarn
