#include "fuzz_check.h"

#include <cstdio>
#include <cstdlib>

namespace tarn::fuzz {

void fail(std::string_view what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %.*s\n", file, line,
               static_cast<int>(what.size()), what.data());
  std::abort();
}

}  // namespace tarn::fuzz
