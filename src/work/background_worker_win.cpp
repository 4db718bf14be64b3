#include "work/background_worker_win.h"

#include <objbase.h>

namespace coiffure {

BackgroundWorker::BackgroundWorker(WorkQueue& queue, HWND window, UINT message)
    : queue_(queue), window_(window), message_(message), thread_([this] { Run(); }) {}

BackgroundWorker::~BackgroundWorker() {
  queue_.Close();
  thread_.join();
}

void BackgroundWorker::Run() {
  // The window's thread comes first whenever both have something to do.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
  // The platform's picture decoder, among others, wants COM on the thread that calls it.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  while (const std::optional<WorkQueue::Ticket> ticket = queue_.WaitForStep()) {
    PostMessageW(window_, message_, 0, 0);  // the progress line names the step begun
    queue_.StepDone(*ticket, ticket->Run());
    PostMessageW(window_, message_, 0, 0);
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

void ApplyReadyWork(WorkQueue& queue, HWND window, UINT message) {
  for (;;) {
    try {
      if (!queue.ApplyNext()) return;
    } catch (...) {
      PostMessageW(window, message, 0, 0);
      throw;
    }
  }
}

}  // namespace coiffure
