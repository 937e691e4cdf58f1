#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vexmor::publish {

// A fixed set of threads that run submitted tasks in order of submission.
class WorkerPool {
 public:
  // One thread per core.
  WorkerPool();
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  std::size_t Size() const { return threads_.size(); }

  template <typename Task>
  auto Submit(Task task) -> std::future<decltype(task())> {
    auto packaged = std::make_shared<std::packaged_task<decltype(task())()>>(std::move(task));
    auto result = packaged->get_future();
    Enqueue([packaged] { (*packaged)(); });
    return result;
  }

 private:
  void Enqueue(std::function<void()> task);
  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> queue_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace vexmor::publish
