#pragma once

class IconCanvas;

// The pictures of the command table, one per image index of the menus and the toolbar.
namespace CommandImages {

// The images by name, in the order the image list holds them; menus and the toolbar store the number.
enum Image : int {
    NoImage = -1,
    Cut = 0,
    Copy,
    Paste,
    NewDocument,
    OpenFolder,
    Save,
    Print,
    Find,
    WordList,
    SelectAll,
    Redo,
    ZoomIn,
    ZoomOut,
    FontColour,
    Options,
    Send,
    Next,
    First,
    Prior,
    Bold,
    Last,
    Undo,
    Italic,
    Underline,
    Refresh,
    Delete,
    SearchBack,
    SearchForward,
    Help,
    Stop,
    SpeakWord,
    SpeakWords,
    CheckClipboard,
    CheckClipboardSound,
    ShowExplorer,
    HideExplorer,
    Restore,
    CloseWindow,
};

constexpr int count = CloseWindow + 1;

// Draws image `index` (0 to count - 1) on a 16-unit canvas.
void paint(IconCanvas &canvas, int index);

} // namespace CommandImages
