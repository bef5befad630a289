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

// What the installed source handed out: a block released with another size
// than it was made with (which munmap would not forgive) shows.
std::map<void*, std::size_t> outstanding;

void* recordAllocate(std::size_t bytes) {
  void* p = ::operator new(bytes);
  outstanding[p] = bytes;
  return p;
}
void recordRelease(void* p, std::size_t bytes) {
  ASSERT_EQ(outstanding.count(p), 1u);
  EXPECT_EQ(outstanding[p], bytes);
  outstanding.erase(p);
  ::operator delete(p);
}

std::string textOf(int i) { return "token" + std::to_string(i); }

TEST(BulkMemory, LongTokenListsTakeWholeBlocksAndGiveBackEachAsMade) {
  setBulkMemorySource({&recordAllocate, &recordRelease});
  for (int count : {100, 200'000}) {
    TokenList list;
    for (int i = 0; i < count; ++i) list.appendToken(textOf(i), 3, 0, i + 1);
    EXPECT_EQ(outstanding.empty(), count == 100) << "only long lists take bulk blocks";
    int i = 0;
    for (TToken* t = list.front(); t; t = t->next(), ++i) ASSERT_EQ(t->view(), textOf(i));
    EXPECT_EQ(i, count);
  }
  EXPECT_TRUE(outstanding.empty());
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
