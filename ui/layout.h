#pragma once

#include <cstdint>
#include <memory>

namespace vexmor {

struct LauncherWindow;
class Button;

// Title, news panel images, the menu entries, the answer buttons, the progress bars (all with
// images at the window scale) and the two embedded fonts. Needs `scale`.
void LoadResources(LauncherWindow& window);

// Metrics, the remaining buttons, every widget's place, the rectangles, the menu outline and the
// scene's first state, all from `width`, `height` and `scale`. Runs after LoadResources.
void BuildLayout(LauncherWindow& window);

// A button of a design size at the window scale with each image stretched to that size. The
// second and third ids are the pressed and hover images, in that order.
std::unique_ptr<Button> MakeButton(float scale, std::int32_t designWidth, std::int32_t designHeight,
                                   std::int32_t x, std::int32_t y, int normalId, int pressedId,
                                   int hoverId, int disabledId);

}  // namespace vexmor
