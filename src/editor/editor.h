#pragma once
// The main window `f` as the handlers see it: the editor state, the controls
// and the window services.

#include <array>
#include <vector>

#include "draw/stabiliser.h"
#include "editor/editor_state.h"
#include "platform/widgets/controls.h"
#include "platform/widgets/form.h"
#include "platform/document.h"
#include "platform/history.h"
#include "platform/services.h"
#include "platform/surface.h"

namespace kalidor {

class Recovery;
struct Tool;

// The Edit pop-up's entries, by their place in it.
enum EditItem {
    kEditUndo,
    kEditRedo,
    kEditMirror,
    kEditGuides,
    kEditFill,
    kEditLine,
    kEditCircle,
    kEditOff,  // the stabiliser's three settings
    kEditLight,
    kEditStrong,
    kEditCopy,
    kEditPaste,
    kEditSmooth,  // smooth lines (A)
    kEditExact,   // Fill's tolerance: exact, low, medium, high
    kEditLow,
    kEditMedium,
    kEditHigh,
};

// The File pop-up's entries, by their place in it.
enum FileItem {
    kFileNew,
    kFileOpen,
    kFileSave,
    kFileSaveTile,
    kFileCopy,
    kFilePaste,
    kFileSize,
};

struct Controls {
    Form* f = nullptr;
    Document* picture = nullptr;   // the picture: its pixels, size and history
    Surface* pb = nullptr;         // the pen that draws on it
    History* pbHistory = nullptr;  // the picture's undo and redo
    PictureBox pbBox;              // the canvas: the view of the picture, its place, size and mouse
    Surface* pbPal = nullptr;
    PictureBox pbPalBox;
    Control frMode;
    std::array<OptionButton, 3> obMode;
    std::array<Control, 3> frModeOptions;
    Label Label1;
    Label lN;
    Slider slN;
    CheckBox cbCenter;
    CheckBox cbChess;
    CheckBox cbPattern;
    std::array<Well, 4> pbColor;  // wells 1..3; element 0 is no well
    Slider slDrawWidth;
    Label Label2;
    CommandButton kInvert;
    CheckBox cbCvet;
    Marker obCP;
    StatusBar sb;
    Menu mnuFile;
    Menu mnuEdit;
    Menu mnuGroup;  // Pattern's wallpaper group
};

// The shape a press draws instead of a freehand stroke.
enum class ShapeKind { None, Line, Circle };

// A shape under way: pressed at `from`, the pointer last at `to`, in the well
// of `button`, a line's angle snapped while Ctrl is down.
struct ShapeDrag {
    bool active = false;
    Point16 from;
    Point16 to;
    bool snap = false;
    int16 button = 0;
};

struct Editor {
    EditorState st;
    Controls ui;
    Services* services = nullptr;  // dialogs and the clock
    bool mirror = false;           // Centric and Pattern copies mirrored too
    bool guides = false;           // the symmetry's lines shown over the canvas
    int group = 0;                 // Pattern's wallpaper group, by its place in their table: p1 at start
    int mirrorAngle = 0;           // Centric's mirror line, degrees clockwise from the vertical, 0..179
    bool fill = false;             // a press on the canvas fills instead of drawing
    ShapeKind shape = ShapeKind::None;  // Line or Circle chosen (L, O)
    ShapeDrag shapeDrag;
    Steadiness steadiness = Steadiness::Off;  // the stabiliser's setting (S)
    Stabiliser stabiliser;                    // the stroke under way, steadied
    bool smoothLines = false;      // strokes started from now on have soft edges (A)
    int fillTolerance = 0;         // how far from the pressed colour Fill reaches: 0 exact .. 3 high
    bool stroking = false;         // a button went down on the canvas and is not yet released
    const Tool* tool = nullptr;    // the tool the last press or move went to, while stroking
    long long savedState = 0;      // the picture as last saved, opened or made new (`PictureState`)
    Recovery* recovery = nullptr;  // the copy kept against a crash, where the window keeps one
};

// The well numbered `index`, or null where there is none (only 1, 2 and 3 exist).
inline Well* wellAt(Editor& e, int index)
{
    if (index < 1 || index > 3)
        return nullptr;
    return &e.ui.pbColor[static_cast<std::size_t>(index)];
}

}  // namespace kalidor
