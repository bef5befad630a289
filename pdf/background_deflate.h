#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace tarn {

/// Compresses data for /FlateDecode on a thread of its own, while the caller
/// lays out the next page; results come back in the order the data went in.
class BackgroundDeflate {
 public:
  struct Done {
    int number = 0;     ///< the caller's tag: an object number
    std::string data;   ///< as given
    std::string packed; ///< pdfDeflate(data)
  };

  BackgroundDeflate();
  ~BackgroundDeflate();
  BackgroundDeflate(const BackgroundDeflate&) = delete;
  BackgroundDeflate& operator=(const BackgroundDeflate&) = delete;

  void add(int number, std::string data);
  /// The oldest result if it is ready (or, with `wait`, once it is); false
  /// when there is none (left).
  bool next(Done& out, bool wait);

 private:
  void run();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Done> queue_;  // in order; the first `ready_` are compressed
  std::size_t ready_ = 0;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace tarn
