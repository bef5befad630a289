#pragma once

#include <stdexcept>
#include <string>

namespace tarn {

/// An error that ends the analysis of a file; what() is the message the user sees.
class AnalysisError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tarn
