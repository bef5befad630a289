#include "pdf/background_deflate.h"

#include "pdf/pdf_file.h"

namespace tarn {

BackgroundDeflate::BackgroundDeflate() : thread_([this] { run(); }) {}

BackgroundDeflate::~BackgroundDeflate() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void BackgroundDeflate::add(int number, std::string data) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(Done{number, std::move(data), {}});
  }
  changed_.notify_all();
}

bool BackgroundDeflate::next(Done& out, bool wait) {
  std::unique_lock lock(mutex_);
  if (wait) changed_.wait(lock, [this] { return ready_ > 0 || queue_.empty(); });
  if (ready_ == 0) return false;
  out = std::move(queue_.front());
  queue_.pop_front();
  --ready_;
  return true;
}

void BackgroundDeflate::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stop_ || ready_ < queue_.size(); });
    if (stop_) return;
    // Deque elements stay put while others are added at the back.
    Done& item = queue_[ready_];
    lock.unlock();
    std::string packed = pdfDeflate(item.data);
    lock.lock();
    item.packed = std::move(packed);
    ++ready_;
    changed_.notify_all();
  }
}

}  // namespace tarn
