// The outline grid's own thread: started, given up and waited for.
#include "hatch/outline_worker.h"

#include <system_error>

namespace vardo {

void OutlineWorker::Start(const TJGdata& doc, const EntityIndex& index, const TgraAttribute& attr,
                          const ViewState& view) {
  if (thread_.joinable()) {
    // Still under way for what it was asked: nothing to start.
    if (attr_ == attr && SameWindow(view_, view)) return;
    Stop();
  }
  attr_ = attr;
  view_ = view;
  try {
    thread_ =
        std::thread([this, &doc, &index] { grid_.Refresh(doc, index, attr_, view_, &stop_); });
  } catch (const std::system_error&) {
    // No thread to be had: Ready makes the outlines in place.
  }
}

void OutlineWorker::Stop() {
  if (!thread_.joinable()) return;
  stop_ = true;
  thread_.join();
  stop_ = false;
}

const OutlineGrid& OutlineWorker::Ready(const TJGdata& doc, const EntityIndex& index,
                                        const TgraAttribute& attr, const ViewState& view,
                                        const PixelRect& near) {
  if (thread_.joinable()) thread_.join();
  grid_.Refresh(doc, index, attr, view, near);
  return grid_;
}

}  // namespace vardo
