#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_service.h"

namespace tarn {

/// Runs work(0) .. work(count - 1) on up to `jobs` threads and hands each
/// result, in index order, to `take` on the calling thread as soon as it and
/// all before it are done. When `take` returns false nothing after it is
/// taken and no further work starts; work already running is waited for and
/// its result dropped. `work` must not throw. With one job the calls alternate on the calling
/// thread: work(0), take(0), work(1), ...
template <typename Result>
void runOrdered(std::size_t count, int jobs, const std::function<Result(std::size_t)>& work,
                const std::function<bool(std::size_t, Result&)>& take);

/// The number of jobs when none is asked for: the processors of the machine.
int defaultJobs();

/// Messages kept to be shown later, in the order they came, on another
/// service. Questions are answered No, as a batch run answers them.
class HeldMessages : public MessageService {
 public:
  MessageAnswer show(std::string_view text, std::string_view caption, MessageIcon icon,
                     MessageButtons buttons) override;
  void replay(MessageService& to) const;
  bool empty() const { return held_.empty(); }
  /// The first line of the first message held; empty when none is.
  std::string firstLine() const;

 private:
  struct Held {
    std::string text, caption;
    MessageIcon icon;
    MessageButtons buttons;
  };
  std::vector<Held> held_;
};

}  // namespace tarn

#include "platform/ordered_jobs_impl.h"
