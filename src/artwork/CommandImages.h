#pragma once

class IconCanvas;

// The pictures of the command table, one per image index of the menus and the toolbar.
namespace CommandImages {

constexpr int count = 38;

// Draws image `index` (0 to count - 1) on a 16-unit canvas.
void paint(IconCanvas &canvas, int index);

} // namespace CommandImages
