// Work a window hands off its own thread: jobs of steps, run one step at a time by one worker in
// the order they were asked for, each step's result applied later by the window on its own
// thread. A stop lets the step under way finish; each step that had not begun is then told to the
// window as stopped. The queue decides and keeps the order; the threads are its caller's.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace coiffure {

// What a step hands back: run by the window, on its own thread.
using StepResult = std::function<void()>;

struct Job {
  std::string verb;                // what the progress line says is being done, "正在导入"
  std::vector<std::string> steps;  // what each step works on, named for the progress line
  // One step's work, on the worker's thread; it must touch nothing the window's thread uses.
  std::function<StepResult(size_t step)> run;
  // On the window's thread: a step that had not begun when the work was stopped.
  std::function<void(size_t step)> stopped;
  // On the window's thread, after its last step's result (stopped: it did not run to its end).
  std::function<void(bool stopped)> finished;
};

// The step under way, for the progress line.
struct Progress {
  std::string verb, name;
  size_t step = 0, steps = 0;  // step counts from 1
  size_t waiting = 0;          // jobs asked for after this one, not yet finished
  bool stopping = false;
};

// "正在导入 12 / 40：NAME", the count left out for a job of one step; then the jobs waiting.
std::string ProgressText(const Progress& progress);

class WorkQueue {
 public:
  struct State;
  // A step handed to the worker.
  class Ticket {
   public:
    // Runs the step; an exception it throws is kept and thrown again where the window applies
    // the result, so that it is reported there.
    StepResult Run() const;

   private:
    friend class WorkQueue;
    std::shared_ptr<State> job_;
    size_t step_ = 0;
  };

  WorkQueue() = default;
  WorkQueue(const WorkQueue&) = delete;
  WorkQueue& operator=(const WorkQueue&) = delete;

  // The window's side.
  void Add(Job job);
  // Stops everything asked for so far, after the step under way; later jobs run as usual.
  void StopAll();
  // Applies the next thing ready, in order (a step's result, a stopped step, a job finished);
  // false when nothing is ready. An exception from it leaves the queue as it would be after it.
  bool ApplyNext();
  // The job not yet finished that was asked for first; none when idle.
  std::optional<Progress> Current() const;
  bool Idle() const;

  // The worker's side.
  // The next step to run, once it may begin (after the result of the one before was handed
  // over); none once Close was called.
  std::optional<Ticket> WaitForStep();
  // The same without waiting: none when no step may begin now.
  std::optional<Ticket> TakeStep();
  void StepDone(const Ticket& ticket, StepResult result);
  // Ends the worker's waiting for good.
  void Close();

 private:
  std::optional<Ticket> TakeLocked();
  std::optional<std::function<void()>> NextAction();

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::shared_ptr<State>> jobs_;
  bool running_ = false, closed_ = false;
};

}  // namespace coiffure
