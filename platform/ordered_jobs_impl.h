#pragma once

// The template of ordered_jobs.h; include that header, not this one.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace tarn {

template <typename Result>
void runOrdered(std::size_t count, int jobs, const std::function<Result(std::size_t)>& work,
                const std::function<bool(std::size_t, Result&)>& take) {
  const std::size_t threads =
      std::min<std::size_t>(count, static_cast<std::size_t>(std::max(1, jobs)));
  if (threads <= 1) {
    for (std::size_t i = 0; i < count; ++i) {
      Result r = work(i);
      if (!take(i, r)) return;
    }
    return;
  }
  std::vector<std::optional<Result>> done(count);
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  // Workers stay at most this far ahead of the results taken, so that a long
  // run does not hold every file's output in memory at once.
  const std::size_t ahead = threads * 2;
  std::size_t taken = 0;
  std::condition_variable roomAhead;
  auto worker = [&] {
    for (;;) {
      std::size_t i;
      {
        std::unique_lock lock(mutex);
        roomAhead.wait(lock, [&] { return stop || next >= count || next < taken + ahead; });
        if (stop || next >= count) return;
        i = next++;
      }
      Result r = work(i);
      std::lock_guard lock(mutex);
      done[i].emplace(std::move(r));
      ready.notify_all();
    }
  };
  std::vector<std::thread> pool;
  pool.reserve(threads);
  for (std::size_t t = 0; t < threads; ++t) pool.emplace_back(worker);
  for (std::size_t i = 0; i < count; ++i) {
    std::optional<Result> r;
    {
      std::unique_lock lock(mutex);
      ready.wait(lock, [&] { return done[i].has_value(); });
      r = std::move(done[i]);
      done[i].reset();
    }
    const bool more = take(i, *r);
    {
      std::lock_guard lock(mutex);
      taken = i + 1;
      if (!more) stop = true;
      roomAhead.notify_all();
    }
    if (!more) break;
  }
  for (std::thread& t : pool) t.join();
}

}  // namespace tarn
