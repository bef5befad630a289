#pragma once

#include <string>

namespace tarn::bench {

/// About `bytes` of real Clarion source: the corpus's .CLW and .INC files
/// concatenated (repeated as needed), cut at a line end. A generated text
/// when the corpus is not on this machine.
std::string clarionText(std::size_t bytes);

}  // namespace tarn::bench
