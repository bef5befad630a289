#pragma once

namespace tarn {

/// Keeps freed memory in the process for reuse instead of returning it to the
/// system at once, and maps the bulk blocks of an analysis with huge pages
/// where the kernel allows: a file's tokens take millions of small pieces,
/// and on virtual machines every fresh page costs a fault.
void tuneMemoryForLargeFiles();

}  // namespace tarn
