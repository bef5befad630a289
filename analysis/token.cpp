#include "analysis/token.h"

namespace tarn {

const char* tokenClassName(int tokenClass) {
  static const char* const kNames[kTokenClassCount] = {
      "Built-in Functions & Procedures",
      "Comments",
      "Compiler Directives",
      "Identifiers",
      "Keywords",
      "Labels",
      "Literals & Pictures",
      "Operators and symbols",
      "Standard Equates",
      "Unknown (other filetypes)",
  };
  if (tokenClass < 0 || tokenClass >= kTokenClassCount) return "";
  return kNames[tokenClass];
}

}  // namespace tarn
