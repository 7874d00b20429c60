#pragma once

#include <QRect>
#include <cstddef>

namespace athup::gui {

// The steps the workflow picture offers, in the order of its click areas.
enum class FlowStep { Entry, Upload, Result, Media, Close };

// One click area of the workflow window: where it lies over the picture (pixels from the window's
// top-left corner) and the name the window gives it. The tool that draws the pictures puts each
// step's box on the same rectangle, so this table is the one place both read.
struct FlowArea {
  FlowStep step;
  const char* name;
  QRect rect;
};

inline constexpr FlowArea kFlowAreas[] = {
    {FlowStep::Entry, "entryArea", QRect(47, 102, 111, 49)},
    {FlowStep::Upload, "uploadArea", QRect(311, 46, 111, 48)},
    {FlowStep::Result, "resultArea", QRect(476, 44, 170, 49)},
    {FlowStep::Media, "mediaArea", QRect(315, 157, 111, 48)},
    {FlowStep::Close, "closeArea", QRect(478, 154, 164, 43)},
};

// The area of a step; the table lists every step once, in the enum's order.
[[nodiscard]] constexpr const FlowArea& flowArea(FlowStep step) {
  return kFlowAreas[static_cast<std::size_t>(step)];
}

static_assert(flowArea(FlowStep::Close).step == FlowStep::Close, "one row per step, in order");

}  // namespace athup::gui
