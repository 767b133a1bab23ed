#include "app/layout.h"

#include "draw/group_choice.h"
#include "draw/press_settings.h"
#include "draw/wallpaper_groups.h"
#include "picture/undo_redo.h"
#include "platform/widgets/view_zoom.h"

namespace kalidor {

namespace {

constexpr int kCanvasBorder = 2;   // sunken
constexpr int kPaletteBorder = 1;  // a plain line, so the whole grid shows inside
constexpr int kStatusBarHeight = 20;
// The canvas: right of the controls' column, below a margin, and as far as a
// margin short of the window's right edge and the status bar.
constexpr int kColumnWidth = 100;  // the canvas's left edge
constexpr int kCanvasTop = 10;
constexpr int kCanvasRightMargin = 10;
// The status bar's panels, in pixels: File, the pointer, the control point,
// Edit, and Pattern's group.
constexpr int kFilePanelWidth = 96;
constexpr int kPointerPanelWidth = 80;
constexpr int kPointPanelWidth = 80;
constexpr int kEditPanelWidth = 96;
constexpr int kGroupPanelWidth = 48;
constexpr int kZoomPanelWidth = 56;
constexpr int kZoomPanel = 6;
constexpr float kFileMenuLimit = 1350;  // twips: panel 1 but its last 6 pixels
constexpr float kEditPanelLeft = (kFilePanelWidth + kPointerPanelWidth + kPointPanelWidth) * kTwipsPerPixel;  // twips
constexpr float kEditPanelRight = kEditPanelLeft + kEditPanelWidth * kTwipsPerPixel;
constexpr float kGroupPanelRight = kEditPanelRight + kGroupPanelWidth * kTwipsPerPixel;
// "Center", "Pannern" and "Cvet" are buttons that stay down while checked: at
// their size a caption beside a check mark would be clipped.
constexpr bool kPushLike = true;

// One tooltip for the entries first to last: the levels of one setting.
void setLevelToolTips(Controls& c, int first, int last, const std::string& tip)
{
    for (int item = first; item <= last; ++item)
        c.mnuEdit.SetToolTip(item, tip);
}

// The Edit pop-up's tools and settings.
void setEditToolTips(Controls& c)
{
    c.mnuEdit.SetToolTip(kEditFill, "Fill: a press colours the region under the pointer, in every copy of the symmetry");
    c.mnuEdit.SetToolTip(kEditLine, "Line: press, drag and release draw a straight line, with Ctrl at steps of 15\u00b0, "
                                    "in every copy of the symmetry; Escape while dragging calls it off");
    c.mnuEdit.SetToolTip(kEditCircle, "Circle: press at the centre, drag and release draw a circle through the release "
                                      "point, in every copy of the symmetry");
    setLevelToolTips(c, kEditOff, kEditStrong,
                     "Stabiliser: the line follows the pointer smoothly, a few moves behind, and is finished at the "
                     "release; S steps Off, Light, Strong");
    c.mnuEdit.SetToolTip(kEditSmooth, "Smooth lines: strokes with soft edges, every copy of the symmetry exact; "
                                      "with them on, Fill colours under the soft edges too (A)");
    setLevelToolTips(c, kEditExact, kEditHigh,
                     "Fill tolerance: how far from the pressed colour a region reaches, so that slightly varied colours, "
                     "or a photo's sky, fill as one");
}

// What each control does, and its key. The canvas has none: it would cover the
// drawing whenever the pointer rests on it.
void setToolTips(Controls& c)
{
    c.frMode.SetToolTip("Mode: how each stroke is repeated");
    c.obMode[0].SetToolTip("Normal: plain freehand lines");
    c.obMode[1].SetToolTip("Centric: each stroke drawn N times, turned about the centre");
    c.obMode[2].SetToolTip("Pattern: each stroke repeated in every cell of a grid");
    c.frModeOptions[0].SetToolTip("Normal has no options");
    c.frModeOptions[1].SetToolTip("Centric's options: N and the centre");
    c.frModeOptions[2].SetToolTip("Pattern's options: Chess and the pattern point");
    const std::string n = "N: how many times Centric draws each stroke, 1 to 16";
    c.Label1.SetToolTip(n);
    c.lN.SetToolTip(n);
    c.slN.SetToolTip(n);
    c.cbCenter.SetToolTip("Center: show the centre; Shift-drag on the canvas moves it");
    c.cbChess.SetToolTip("Chess: repeat the stroke only in every other cell, as on a chessboard");
    c.cbPattern.SetToolTip("Pannern: show the pattern point; Shift-drag on the canvas moves it");
    c.obCP.SetToolTip("Drag to move this point; the arrow keys move it by one pixel");
    c.pbPalBox.SetToolTip("Palette: left button to well 1, right to well 2, with Shift, Ctrl or Alt to well 3");
    const std::string choose = "; click to choose another";
    c.pbColor[1].SetToolTip("Well 1: the left button's colour" + choose);
    c.pbColor[2].SetToolTip("Well 2: the right button's colour" + choose);
    c.pbColor[3].SetToolTip("Well 3: both buttons together, and the palette with Shift, Ctrl or Alt" + choose);
    const std::string width = "Width: the pen's width, 1 to 30 pixels";
    c.slDrawWidth.SetToolTip(width);
    c.Label2.SetToolTip(width);
    c.kInvert.SetToolTip("Invert: turn every colour into its complement");
    c.cbCvet.SetToolTip("Cvet: pick a colour from the canvas (C)");
    c.sb.SetPanelToolTip(1, "File: New (Ctrl+N), Open (Ctrl+O), Save (Ctrl+S), Save tile (Ctrl+Alt+S), "
                            "Copy (Ctrl+C), Paste (Ctrl+V), Size (Ctrl+Alt+N)");
    c.mnuFile.SetToolTip(kFileSaveTile, "Save tile: one period of the Pattern, which laid edge to edge repeats "
                                        "without a seam; in Pattern only");
    const std::string copy = "Copy: the whole picture to the clipboard, for other programs to paste";
    const std::string paste = "Paste: a picture from the clipboard replaces the picture, as Open does with a file";
    c.mnuFile.SetToolTip(kFileSize, "Size: give the picture a size of its own, or let it follow the window");
    c.mnuFile.SetToolTip(kFileCopy, copy);
    c.mnuFile.SetToolTip(kFilePaste, paste);
    c.mnuEdit.SetToolTip(kEditCopy, copy);
    c.mnuEdit.SetToolTip(kEditPaste, paste);
    c.sb.SetPanelToolTip(2, "The pointer's position on the canvas");
    c.sb.SetPanelToolTip(3, "The centre (C) or the pattern point (P)");
    c.sb.SetPanelToolTip(4, kEditPanelKeys);
    setEditToolTips(c);
    c.sb.SetPanelToolTip(kGroupPanel, "Group: the plane symmetry Pattern draws under; click to choose one of the 17");
    c.sb.SetPanelToolTip(kZoomPanel, "Zoom: Ctrl+wheel or Ctrl++ and Ctrl+-; Ctrl+0 fits the picture, Ctrl+1 shows "
                                     "100 %. The wheel, the scroll bars, a middle-button or Space+drag pan");
}

// What a screen reader calls each control. Buttons and check boxes say their
// captions themselves; the colour wells add their colour, the palette the
// swatch pressed last.
void setAccessibleNames(Controls& c)
{
    c.frModeOptions[0].SetAccessibleName("Normal's options");
    c.frModeOptions[1].SetAccessibleName("Centric's options");
    c.frModeOptions[2].SetAccessibleName("Pattern's options");
    c.slN.SetAccessibleName("N", "How many times Centric draws each stroke, 1 to 16");
    c.lN.SetAccessibleName("N value");
    c.pbPalBox.SetAccessibleName("Palette", "Left button to well 1, right to well 2, with Shift, Ctrl or Alt to well 3");
    c.pbColor[1].SetAccessibleName("Colour well 1 (left button)");
    c.pbColor[2].SetAccessibleName("Colour well 2 (right button)");
    c.pbColor[3].SetAccessibleName("Colour well 3 (both buttons, or a modifier key on the palette)");
    c.slDrawWidth.SetAccessibleName("Width", "The pen's width, 1 to 30 pixels");
    c.pbBox.SetAccessibleName("Canvas", "The picture: draw with the mouse buttons");
    c.obCP.SetAccessibleName("Control point", "The centre or the pattern point: drag it, or move it with the arrow keys");
    c.sb.SetAccessibleName("Status bar");
    // "File" and "Edit" say themselves; the others say what their numbers are.
    c.sb.SetPanelName(2, "Pointer position");
    c.sb.SetPanelName(3, "Control point");
    c.sb.SetPanelName(kGroupPanel, "Pattern group");
    c.sb.SetPanelName(kZoomPanel, "Zoom");
}

// The Mode frame with its buttons, and each mode's options frame.
void addModeFrames(Form& f, Controls& c)
{
    c.frMode = f.addFrame(nullptr, {10, 10, 81, 91}, "Mode");
    QWidget* mode = c.frMode.widget();
    c.obMode[0] = f.addOptionButton(mode, {10, 20, 61, 21}, "Normal", true);
    c.obMode[1] = f.addOptionButton(mode, {10, 40, 61, 21}, "Centric", false);
    c.obMode[2] = f.addOptionButton(mode, {10, 60, 61, 21}, "Pattern", false);

    c.frModeOptions[0] = f.addFrame(nullptr, {10, 102, 81, 46}, "");

    c.frModeOptions[1] = f.addFrame(nullptr, {95, 102, 81, 102}, "");
    QWidget* centric = c.frModeOptions[1].widget();
    c.Label1 = f.addLabel(centric, {10, 15, 31, 21}, "N");
    c.lN = f.addLabel(centric, {40, 15, 31, 21}, "5");
    c.slN = f.addSlider(centric, {5, 35, 71, 21}, 1, 16, 5, 5, 1);
    c.cbCenter = f.addCheckBox(centric, {15, 65, 51, 21}, "Center", true, kPushLike);
    c.frModeOptions[1].SetVisible(false);

    c.frModeOptions[2] = f.addFrame(nullptr, {190, 102, 81, 76}, "");
    QWidget* pattern = c.frModeOptions[2].widget();
    c.cbChess = f.addCheckBox(pattern, {15, 15, 56, 26}, "Chess", false);
    c.cbPattern = f.addCheckBox(pattern, {15, 45, 51, 21}, "Pannern", true, kPushLike);
    c.frModeOptions[2].SetVisible(false);
}

// The status bar's panels and the pop-ups they open.
void addStatusBarAndMenus(Form& f, Controls& c)
{
    c.sb = f.addStatusBar(
        {kFilePanelWidth, kPointerPanelWidth, kPointPanelWidth, kEditPanelWidth, kGroupPanelWidth, kZoomPanelWidth},
        kStatusBarHeight);
    c.sb.SetPanelText(1, "File");
    c.sb.SetPanelText(4, "Edit");
    c.sb.SetPanelText(kGroupPanel, std::string(wallpaperGroup(kP1).name));
    // Copy's and Paste's keys, like the Edit pop-up's, reach the editor
    // through its preview of every key, so the entries only show them.
    c.mnuFile = f.addMenu("File", {{"&New", "Ctrl+N"}, {"&Open", "Ctrl+O"}, {"&Save", "Ctrl+S"},
                                   {"Save &tile...", "Ctrl+Alt+S"}, {"&Copy\tCtrl+C", ""}, {"&Paste\tCtrl+V", ""},
                                   {"Si&ze...", "Ctrl+Alt+N"}});
    c.mnuFile.SetEnabled(kFileSaveTile, false);  // Pattern's alone; the window starts in Normal
    c.mnuEdit = f.addMenu("Edit", {{"&Undo\tCtrl+Z", ""}, {"&Redo\tCtrl+Y", ""}, {"&Mirror\tM", ""}, {"&Guides\tG", ""},
                                   {"&Fill\tF", ""}, {"&Line\tL", ""}, {"&Circle\tO", ""},
                                   {"Stabiliser o&ff\tS", ""}, {"Stabiliser l&ight\tS", ""},
                                   {"Stabiliser &strong\tS", ""}, {"C&opy\tCtrl+C", ""}, {"&Paste\tCtrl+V", ""},
                                   {"Smooth li&nes\tA", ""}, {"Fill tolerance e&xact", ""},
                                   {"Fill tolerance lo&w", ""}, {"Fill tolerance m&edium", ""},
                                   {"Fill tolerance &high", ""}});
    for (int item = kEditMirror; item <= kEditStrong; ++item)
        c.mnuEdit.SetCheckable(item);
    for (int item = kEditSmooth; item <= kEditHigh; ++item)
        c.mnuEdit.SetCheckable(item);
    std::vector<MenuItem> groups;
    for (int g = 0; g < kGroupCount; ++g)
        groups.push_back({groupCaption(g), ""});
    c.mnuGroup = f.addMenu("Group", groups);
    for (int g = 0; g < kGroupCount; ++g) {
        c.mnuGroup.SetCheckable(g);
        c.mnuGroup.SetIcon(g, drawnPicture(kGroupPicture, kGroupPicture, kWhite, [g](Surface& s) { drawGroupSample(s, g); }),
                           kGroupPicture);
    }
}

}  // namespace

namespace {

// The picture follows the window: it is the canvas's interior.
void followWindow(Document& picture, int outerWidth, int outerHeight)
{
    picture.SetSize(outerWidth - 2 * kCanvasBorder, outerHeight - 2 * kCanvasBorder);
}

}  // namespace

Controls createControls(Form& f, PictureDocument& picture)
{
    Controls c;
    c.f = &f;

    addModeFrames(f, c);
    c.pbPalBox = f.addPictureBox({10, 210, 81, 291}, kPaletteBorder, f.windowBackground());
    c.pbPal = &c.pbPalBox.surface();

    c.pbColor[1] = f.addWell({10, 515, 31, 31}, kBlack);   // left button
    c.pbColor[2] = f.addWell({43, 520, 26, 26}, kWhite);   // right button
    c.pbColor[3] = f.addWell({70, 525, 21, 21}, 0x800080);  // modifier held, or both buttons

    c.slDrawWidth = f.addSlider(nullptr, {5, 555, 91, 21}, 1, 30, 1, 5, 1);
    c.Label2 = f.addLabel(nullptr, {10, 580, 31, 16}, "Width");
    c.kInvert = f.addCommandButton(nullptr, {5, 615, 41, 21}, "Invert");
    c.cbCvet = f.addCheckBox(nullptr, {50, 615, 41, 21}, "Cvet", false, kPushLike);

    constexpr Place kCanvas{kColumnWidth, kCanvasTop, 451, 441};
    followWindow(picture, kCanvas.width, kCanvas.height);
    c.picture = &picture;
    c.pbHistory = &picture;
    c.pbBox = f.addPictureBox(kCanvas, kCanvasBorder, picture);
    c.pb = &c.pbBox.surface();
    c.obCP = f.addMarker(c.pbBox, {145, 35, 13, 13});
    c.obCP.SetVisible(false);

    addStatusBarAndMenus(f, c);

    // Lower windows scroll the column; the restored window shows it whole.
    f.setColumn(kColumnWidth, kRestoredHeight - kStatusBarHeight,
                {c.frMode.widget(), c.frModeOptions[0].widget(), c.frModeOptions[1].widget(),
                 c.frModeOptions[2].widget(), c.pbPalBox.widget(), c.pbColor[1].widget(), c.pbColor[2].widget(),
                 c.pbColor[3].widget(), c.slDrawWidth.widget(), c.Label2.widget(), c.kInvert.widget(),
                 c.cbCvet.widget()});

    setToolTips(c);
    setAccessibleNames(c);
    f.setTabOrder({c.pbBox.widget(), c.obMode[0].widget(), c.obMode[1].widget(), c.obMode[2].widget(),
                   c.slN.widget(), c.cbCenter.widget(), c.cbPattern.widget(), c.cbChess.widget(),
                   c.slDrawWidth.widget(), c.pbPalBox.widget(), c.kInvert.widget(), c.cbCvet.widget()});
    f.setFocus(c.pbBox.widget());
    return c;
}

void Form_Resize(Editor& e)
{
    Form& f = *e.ui.f;
    if (f.WindowState() == kMinimisedWindow)
        return;
    try {
        const int width = static_cast<int>(f.ScaleWidth()) - kColumnWidth - kCanvasRightMargin;
        const int height = static_cast<int>(f.ScaleHeight()) - kCanvasTop - kStatusBarHeight;
        e.ui.pbBox.Move(kColumnWidth, kCanvasTop, width, height);
        if (!e.ui.picture->OwnSize())
            followWindow(*e.ui.picture, width, height);
    } catch (const MoveError&) {
        // Too small a window: the canvas keeps its place and size.
    }
}

void refreshZoomReadout(Editor& e)
{
    // Empty while the picture follows the window at 100 %, as it starts.
    const double zoom = e.ui.pbBox.Zoom();
    const bool shows = zoom != 1 || e.ui.picture->OwnSize();
    e.ui.sb.SetPanelText(kZoomPanel, shows ? zoomText(zoom).toStdString() : "");
}

void sb_MouseDown(Editor& e, const MouseArgs& m)
{
    if (m.X < kFileMenuLimit) {
        e.ui.mnuFile.PopupMenu();
    } else if (m.X >= kEditPanelLeft && m.X < kEditPanelRight) {
        showEditMenu(e);
        e.ui.mnuEdit.PopupMenu();
    } else if (m.X >= kEditPanelRight && m.X < kGroupPanelRight) {
        showGroupMenu(e);
        e.ui.mnuGroup.PopupMenu();
    }
}

}  // namespace kalidor
