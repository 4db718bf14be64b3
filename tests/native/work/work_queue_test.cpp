#include "work/work_queue.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

namespace coiffure {
namespace {

using Log = std::vector<std::string>;

// A job whose steps, stops and end are written to the log as the window would show them.
Job Logged(const std::string& name, size_t steps, Log& log) {
  Job job;
  job.verb = "正在导入";
  for (size_t i = 0; i < steps; ++i) job.steps.push_back(name + std::to_string(i));
  job.run = [name, &log](size_t step) -> StepResult {
    return [name, step, &log] { log.push_back(name + std::to_string(step)); };
  };
  job.stopped = [name, &log](size_t step) {
    log.push_back(name + std::to_string(step) + " 已停止");
  };
  job.finished = [name, &log](bool stopped) { log.push_back(name + (stopped ? " 停了" : " 完")); };
  return job;
}

// The worker's part, done in the test's own thread: takes a step and hands back its result.
void RunSteps(WorkQueue& queue, int n) {
  for (int i = 0; i < n; ++i) {
    const std::optional<WorkQueue::Ticket> ticket = queue.TakeStep();
    ASSERT_TRUE(ticket);
    queue.StepDone(*ticket, ticket->Run());
  }
}

void ApplyAll(WorkQueue& queue) {
  while (queue.ApplyNext()) {
  }
}

TEST(WorkQueue, JobsRunStepByStepInTheOrderAskedAndTheWindowAppliesThemInThatOrder) {
  WorkQueue queue;
  Log log;
  queue.Add(Logged("a", 2, log));
  queue.Add(Logged("b", 1, log));
  EXPECT_EQ(ProgressText(*queue.Current()), "正在导入 1 / 2：a0（之后还有 1 项工作）");
  const std::optional<WorkQueue::Ticket> first = queue.TakeStep();
  ASSERT_TRUE(first);
  EXPECT_FALSE(queue.TakeStep()) << "one step at a time";
  queue.StepDone(*first, first->Run());
  EXPECT_EQ(ProgressText(*queue.Current()), "正在导入 2 / 2：a1（之后还有 1 项工作）");
  RunSteps(queue, 1);
  EXPECT_EQ(ProgressText(*queue.Current()), "正在导入：b0") << "the next to begin";
  ApplyAll(queue);
  EXPECT_EQ(log, (Log{"a0", "a1", "a 完"}));
  RunSteps(queue, 1);
  EXPECT_FALSE(queue.TakeStep());
  ApplyAll(queue);
  EXPECT_EQ(log, (Log{"a0", "a1", "a 完", "b0", "b 完"}));
  EXPECT_TRUE(queue.Idle());
  EXPECT_FALSE(queue.Current());
  queue.Add(Logged("photo", 1, log));
  EXPECT_EQ(ProgressText(*queue.Current()), "正在导入：photo0") << "no count for a single step";
}

TEST(WorkQueue, AStopLetsTheStepUnderWayFinishAndTellsEveryStepNotBegunInOrder) {
  WorkQueue queue;
  Log log;
  queue.Add(Logged("a", 4, log));
  queue.Add(Logged("b", 2, log));
  RunSteps(queue, 1);
  const std::optional<WorkQueue::Ticket> under_way = queue.TakeStep();
  queue.StopAll();
  EXPECT_EQ(ProgressText(*queue.Current()), "正在停止：a1 做完后就停止（之后还有 1 项工作）");
  queue.Add(Logged("c", 1, log));  // asked for after the stop: done as usual
  queue.StepDone(*under_way, under_way->Run());
  RunSteps(queue, 1);
  EXPECT_FALSE(queue.TakeStep());
  ApplyAll(queue);
  EXPECT_EQ(log, (Log{"a0", "a1", "a2 已停止", "a3 已停止", "a 停了", "b0 已停止", "b1 已停止",
                      "b 停了", "c0", "c 完"}));
  EXPECT_TRUE(queue.Idle());
}

TEST(WorkQueue, AFailingStepIsReportedWhereItIsAppliedAndTheRestGoesOn) {
  WorkQueue queue;
  Log log;
  Job job = Logged("a", 2, log);
  const auto plain = job.run;
  job.run = [plain](size_t step) -> StepResult {
    if (step == 0) throw std::runtime_error("磁盘坏了");
    return plain(step);
  };
  queue.Add(std::move(job));
  RunSteps(queue, 2);
  EXPECT_THROW(queue.ApplyNext(), std::runtime_error);
  ApplyAll(queue);
  EXPECT_EQ(log, (Log{"a1", "a 完"}));
}

TEST(WorkQueue, TheWorkerWaitsForWorkAndEndsWhenClosed) {
  WorkQueue queue;
  Log log;
  std::thread worker([&] {
    while (const std::optional<WorkQueue::Ticket> ticket = queue.WaitForStep())
      queue.StepDone(*ticket, ticket->Run());
  });
  queue.Add(Logged("a", 3, log));
  while (log.size() < 4) ApplyAll(queue), std::this_thread::yield();
  queue.Close();
  worker.join();
  EXPECT_EQ(log, (Log{"a0", "a1", "a2", "a 完"}));
}

}  // namespace
}  // namespace coiffure
