#include "work/work_queue.h"

#include <algorithm>
#include <exception>

namespace coiffure {

struct WorkQueue::State {
  Job job;
  size_t started = 0;            // steps handed to the worker
  size_t done = 0;               // of them, the ones whose result came back
  size_t told_stopped = 0;       // steps after `started` told to the window as stopped
  std::deque<StepResult> ready;  // results not yet applied
  bool stop = false;

  size_t Steps() const { return job.steps.size(); }
  bool MayStart() const { return !stop && started < Steps(); }
};

std::string ProgressText(const Progress& p) {
  std::string text;
  if (p.stopping) {
    text = "正在停止：" + p.name + " 做完后就停止";
  } else {
    text = p.verb;
    if (p.steps > 1)
      text.append(" ").append(std::to_string(p.step)).append(" / ").append(std::to_string(p.steps));
    text += "：" + p.name;
  }
  if (p.waiting > 0) text += "（之后还有 " + std::to_string(p.waiting) + " 项工作）";
  return text;
}

StepResult WorkQueue::Ticket::Run() const {
  try {
    return job_->job.run(step_);
  } catch (...) {
    return [error = std::current_exception()] { std::rethrow_exception(error); };
  }
}

void WorkQueue::Add(Job job) {
  auto state = std::make_shared<State>();
  state->job = std::move(job);
  {
    const std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(state));
  }
  wake_.notify_all();
}

void WorkQueue::StopAll() {
  const std::lock_guard lock(mutex_);
  for (const auto& job : jobs_) job->stop = true;
}

// The window's next action, taken out of the queue so that it can run without the lock.
std::optional<std::function<void()>> WorkQueue::NextAction() {
  while (!jobs_.empty()) {
    State& s = *jobs_.front();
    if (!s.ready.empty()) {
      StepResult result = std::move(s.ready.front());
      s.ready.pop_front();
      if (result) return result;
      continue;
    }
    if (s.done < s.started || s.MayStart()) return std::nullopt;  // more results to come
    if (s.started + s.told_stopped < s.Steps()) {
      const size_t step = s.started + s.told_stopped++;
      return [stopped = s.job.stopped, step] {
        if (stopped) stopped(step);
      };
    }
    const bool cut_short = s.started < s.Steps();
    std::function<void(bool)> finished = std::move(s.job.finished);
    jobs_.pop_front();
    if (finished) return [finished, cut_short] { finished(cut_short); };
  }
  return std::nullopt;
}

bool WorkQueue::ApplyNext() {
  std::optional<std::function<void()>> action;
  {
    const std::lock_guard lock(mutex_);
    action = NextAction();
  }
  if (!action) return false;
  (*action)();
  return true;
}

std::optional<Progress> WorkQueue::Current() const {
  const std::lock_guard lock(mutex_);
  if (jobs_.empty()) return std::nullopt;
  // The job whose step is under way, else the next to begin, else the first to finish.
  auto at =
      std::find_if(jobs_.begin(), jobs_.end(), [](const auto& s) { return s->done < s->started; });
  if (at == jobs_.end())
    at = std::find_if(jobs_.begin(), jobs_.end(), [](const auto& s) { return s->MayStart(); });
  if (at == jobs_.end()) at = jobs_.begin();
  const State& s = **at;
  const size_t under_way = s.done < s.started ? s.started : s.started + 1;
  Progress p{s.job.verb,
             "",
             std::min(under_way, s.Steps()),
             s.Steps(),
             static_cast<size_t>(jobs_.end() - at - 1),
             s.stop};
  if (p.step > 0) p.name = s.job.steps[p.step - 1];
  return p;
}

bool WorkQueue::Idle() const {
  const std::lock_guard lock(mutex_);
  return jobs_.empty();
}

std::optional<WorkQueue::Ticket> WorkQueue::TakeLocked() {
  if (running_ || closed_) return std::nullopt;
  for (const auto& s : jobs_) {
    if (!s->MayStart()) continue;
    Ticket ticket;
    ticket.job_ = s;
    ticket.step_ = s->started++;
    running_ = true;
    return ticket;
  }
  return std::nullopt;
}

std::optional<WorkQueue::Ticket> WorkQueue::TakeStep() {
  const std::lock_guard lock(mutex_);
  return TakeLocked();
}

std::optional<WorkQueue::Ticket> WorkQueue::WaitForStep() {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (closed_) return std::nullopt;
    if (std::optional<Ticket> ticket = TakeLocked()) return ticket;
    wake_.wait(lock);
  }
}

void WorkQueue::StepDone(const Ticket& ticket, StepResult result) {
  {
    const std::lock_guard lock(mutex_);
    ticket.job_->ready.push_back(std::move(result));
    ++ticket.job_->done;
    running_ = false;
  }
  wake_.notify_all();
}

void WorkQueue::Close() {
  {
    const std::lock_guard lock(mutex_);
    closed_ = true;
  }
  wake_.notify_all();
}

}  // namespace coiffure
