#pragma once
// Arguments of the notifications the window delivers to the editor.

#include "platform/int16.h"

namespace kalidor {

// Mouse buttons as bits; a move reports all buttons held.
constexpr int16 kLeftButton = 1;
constexpr int16 kRightButton = 2;
constexpr int16 kMiddleButton = 4;

// Modifier keys as bits.
constexpr int16 kShiftKey = 1;
constexpr int16 kCtrlKey = 2;
constexpr int16 kAltKey = 4;

// Virtual-key codes of the keys the editor looks at.
constexpr int16 kKeyEscape = 27;
constexpr int16 kKeyLeft = 37;
constexpr int16 kKeyUp = 38;
constexpr int16 kKeyRight = 39;
constexpr int16 kKeyDown = 40;
constexpr int16 kKeyC = 67;
constexpr int16 kKeyF = 70;
constexpr int16 kKeyG = 71;
constexpr int16 kKeyA = 65;
constexpr int16 kKeyL = 76;
constexpr int16 kKeyM = 77;
constexpr int16 kKeyO = 79;
constexpr int16 kKeyS = 83;
constexpr int16 kKeyV = 86;
constexpr int16 kKeyY = 89;
constexpr int16 kKeyZ = 90;
constexpr int16 kKey0 = 48;
constexpr int16 kKey1 = 49;
constexpr int16 kKeyPlus = 187;          // + and =
constexpr int16 kKeyMinus = 189;         // - and _
constexpr int16 kKeyOpenBracket = 219;   // [ and {
constexpr int16 kKeyCloseBracket = 221;  // ] and }

struct MouseArgs {
    int16 Button = 0;
    int16 Shift = 0;
    float X = 0;  // pixels on the canvas and the palette; twips on the marker and the status bar
    float Y = 0;
    // On a press on the canvas, every button down once it went down, the
    // pressed one among them; 0 where that is not known.
    int16 Held = 0;
};

// What was dragged onto the canvas.
enum class DragSource {
    Marker,  // the control-point marker
    Other,
};

// Window states, as `WindowState` reports them.
constexpr int kNormalWindow = 0;
constexpr int kMinimisedWindow = 1;
constexpr int kMaximisedWindow = 2;

// Twips per pixel, the unit of positions on controls without a scale of their own.
constexpr float kTwipsPerPixel = 15.0f;

}  // namespace kalidor
