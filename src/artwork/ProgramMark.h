#pragma once

class IconCanvas;

// The program's mark: a navy book with a spring-green "V" on its cover.
namespace ProgramMark {

constexpr int trayFrames = 6;
// The tray shows this frame while nothing is being watched.
constexpr int restingFrame = 1;

// Draws the mark on a 16-unit canvas, with more detail where the canvas is large.
void paint(IconCanvas &canvas);
// Draws the mark with a glint that runs along the "V" as the frames go by.
void paintTrayFrame(IconCanvas &canvas, int frame);

} // namespace ProgramMark
