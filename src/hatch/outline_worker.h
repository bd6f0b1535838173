// Keeps the outlines a run's end correction reads and brings them up to date on a thread of its
// own while the user is still marking regions, so that a run seldom waits for them.
#pragma once

#include <atomic>
#include <thread>

#include "hatch/outline_grid.h"

namespace vardo {

class OutlineWorker {
 public:
  OutlineWorker() = default;
  OutlineWorker(const OutlineWorker&) = delete;
  OutlineWorker& operator=(const OutlineWorker&) = delete;
  ~OutlineWorker() { Stop(); }

  // Starts bringing the grid up to date with the whole view (OutlineGrid::Refresh) on another
  // thread, unless that is already under way. attr and view are copied; doc and index are read
  // by that thread, so nothing may change them until Stop or Ready has returned.
  void Start(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
             const ViewState& view);
  // Gives up the work under way, if any, and waits for the thread to end; whatever it had not
  // finished is made again by the next Ready. Cheap when nothing is under way.
  void Stop();
  // Waits for the work under way, then brings the grid up to date for near as
  // OutlineGrid::Refresh does (nothing left to do when the work reached as far).
  const OutlineGrid& Ready(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
                           const ViewState& view, const PixelRect& near);

 private:
  OutlineGrid grid_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  // The copies the thread works from.
  TgraAttribute attr_;
  ViewState view_;
};

}  // namespace vardo
