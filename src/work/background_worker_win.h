// The one thread a window's work queue runs on: it takes the queue's steps in turn, with COM
// initialised (the platform's picture decoder needs it), and posts the window a message whenever
// a step begins or ends, so that the window applies what is ready and shows where it stands.
#pragma once

#include <windows.h>

#include <thread>

#include "work/work_queue.h"

namespace coiffure {

class BackgroundWorker {
 public:
  BackgroundWorker(WorkQueue& queue, HWND window, UINT message);
  // Closes the queue and waits for the step under way; nothing more is posted.
  ~BackgroundWorker();
  BackgroundWorker(const BackgroundWorker&) = delete;
  BackgroundWorker& operator=(const BackgroundWorker&) = delete;

 private:
  void Run();

  WorkQueue& queue_;
  HWND window_;
  UINT message_;
  std::thread thread_;
};

// On the window's thread, when the worker's message comes: every result ready applied in order.
// One that throws leaves the rest for the message posted again, after the error box.
void ApplyReadyWork(WorkQueue& queue, HWND window, UINT message);

}  // namespace coiffure
