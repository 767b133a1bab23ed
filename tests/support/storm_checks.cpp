#include "support/storm_checks.h"

#include <cstdio>
#include <optional>

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

#include "app/main_window.h"
#include "platform/widgets/surface_widget.h"
#include "draw/group_choice.h"
#include "draw/wallpaper_groups.h"

namespace kalidor::test {

namespace {

// The marker's top-left is 6 pixels left of and above the point; a point below
// -32762 cannot place it, and the marker stays where it was.
constexpr int kMarkerHalf = 6;
constexpr int kLowestMarkerPoint = -32762;

std::string pointText(const char* prefix, int x, int y)
{
    return prefix + std::to_string(x) + "," + std::to_string(y);
}

std::optional<QPoint> shownPoint(const std::string& panel)
{
    int x = 0, y = 0;
    char kind = 0;
    if (std::sscanf(panel.c_str(), "%c: %d,%d", &kind, &x, &y) != 3)
        return std::nullopt;
    return QPoint(x, y);
}

bool placeable(int x, int y) { return x >= kLowestMarkerPoint && y >= kLowestMarkerPoint; }

// The drawing mode whose frame, option button and marker are shown: the mode
// itself, or in colour pick the mode it was entered from.
int shownMode(const EditorState& s) { return s.Mode == kColourPick ? s.PrevMode : s.Mode; }

std::string checkModes(const Editor& e)
{
    const EditorState& s = e.st;
    if (s.Mode < 0 || s.Mode > 3)
        return "Mode is " + std::to_string(s.Mode);
    if (s.PrevMode < 0 || s.PrevMode > 2)
        return "PrevMode is " + std::to_string(s.PrevMode);
    if ((e.ui.cbCvet.Value() == 1) != (s.Mode == kColourPick))
        return "\"Cvet\" is " + std::to_string(e.ui.cbCvet.Value()) + " with Mode " + std::to_string(s.Mode);
    const int shown = shownMode(s);
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (e.ui.obMode[k].Selected() != (i == shown))
            return "option button " + std::to_string(i) + " selected with mode " + std::to_string(shown) + " shown";
        if (e.ui.frModeOptions[k].Visible() != (i == shown))
            return "options frame " + std::to_string(i) + " visible with mode " + std::to_string(shown) + " shown";
    }
    return {};
}

std::string checkControlPoint(const Editor& e, StormExpectations& x)
{
    const EditorState& s = e.st;
    const std::string panel = e.ui.sb.PanelText(3);
    const std::string centre = pointText("C: ", s.CenterX, s.CenterY);
    const std::string pattern = pointText("P: ", s.PatternX, s.PatternY);
    const int shown = shownMode(s);
    if (panel == centre && shown == kCentric)
        x.pickDrop = false;
    const bool ok = shown == kNormal    ? panel.empty()
                    : shown == kPattern ? panel == pattern
                                        : panel == centre || (x.pickDrop && panel == pattern);
    if (!ok)
        return "panel 3 reads \"" + panel + "\" in mode " + std::to_string(s.Mode) + " (centre " + centre +
               ", pattern " + pattern + ")";

    // Where ChangeCPXY put the marker: on the point panel 3 shows, shown or
    // hidden, unless the point lies too far left or up to place it.
    const QPoint middle(e.ui.obCP.Left() + kMarkerHalf, e.ui.obCP.Top() + kMarkerHalf);
    if (const std::optional<QPoint> p = shownPoint(panel); p && placeable(p->x(), p->y()) && middle != *p)
        return "the marker's middle is at " + std::to_string(middle.x()) + "," + std::to_string(middle.y()) +
               " with panel 3 reading \"" + panel + "\"";

    // Shown exactly while the mode's box is checked, except that a switch
    // abandoned because the marker could not be placed leaves it hidden until
    // the box is clicked or the mode changes.
    const bool visible = e.ui.obCP.Visible();
    if (visible || x.hiddenIn != shown)
        x.hiddenIn = -1;
    if (shown == kNormal)
        return visible ? "the marker shows in Normal mode" : "";
    const bool checked = (shown == kCentric ? e.ui.cbCenter : e.ui.cbPattern).Value() != 0;
    const bool reachable = shown == kCentric ? placeable(s.CenterX, s.CenterY) : placeable(s.PatternX, s.PatternY);
    if (!visible && checked && !reachable)
        x.hiddenIn = shown;
    if (visible && !checked)
        return "the marker shows with its box unchecked";
    if (!visible && checked && x.hiddenIn != shown)
        return "the marker is hidden with its box checked";
    return {};
}

std::string checkCanvas(MainWindow& w, StormExpectations& x)
{
    Form& f = w.form();
    const Controls& ui = w.editor().ui;
    const int width = static_cast<int>(f.ScaleWidth());
    const int height = static_cast<int>(f.ScaleHeight());
    // Where a canvas fits, it reaches down to the status bar and keeps to the
    // window's right edge the margin it has above it; where none fits, it stays.
    const QRect bar = ui.sb.widget()->geometry();
    const QRect room(x.canvas.topLeft(), QPoint(width - 1 - x.canvas.top(), bar.top() - 1));
    if (f.WindowState() != kMinimisedWindow && room.width() >= 0 && room.height() >= 0)
        x.canvas = room;
    const QRect at(ui.pbBox.Left(), ui.pbBox.Top(), ui.pbBox.Width(), ui.pbBox.Height());
    if (at != x.canvas || ui.pb->Width() != static_cast<float>(at.width()) ||
        ui.pb->Height() != static_cast<float>(at.height()))
        return "the canvas is " + std::to_string(at.width()) + "x" + std::to_string(at.height()) + " at " +
               std::to_string(at.left()) + "," + std::to_string(at.top()) + " in a " + std::to_string(width) +
               "x" + std::to_string(height) + " window";
    // The column scrolls as one, never further than its end, and not at all
    // where the window shows the whole of it.
    const int offset = f.columnOffset();
    if (f.WindowState() != kMinimisedWindow &&
        (offset < 0 || offset > std::max(0, 638 - bar.top()) || ui.kInvert.Top() + offset != 615 ||
         ui.pbPalBox.Top() + offset != 210))
        return "the column is scrolled by " + std::to_string(offset) + " with Invert at " +
               std::to_string(ui.kInvert.Top()) + " above a status bar at " + std::to_string(bar.top());
    return {};
}

std::string checkRest(const Editor& e)
{
    if (e.ui.pb->DrawWidth() != e.ui.slDrawWidth.Value())
        return "pen width " + std::to_string(e.ui.pb->DrawWidth()) + " with the slider at " +
               std::to_string(e.ui.slDrawWidth.Value());
    if (e.ui.pb->DrawMode() != kCopyPen)
        return "drawing mode " + std::to_string(e.ui.pb->DrawMode());
    if (e.ui.lN.Caption() != std::to_string(e.ui.slN.Value()))
        return "N reads \"" + e.ui.lN.Caption() + "\" with the slider at " + std::to_string(e.ui.slN.Value());
    if (e.ui.sb.PanelText(1) != "File")
        return "panel 1 reads \"" + e.ui.sb.PanelText(1) + "\"";
    if (e.group < 0 || e.group >= kGroupCount || e.ui.sb.PanelText(kGroupPanel) != wallpaperGroup(e.group).name)
        return "panel 5 reads \"" + e.ui.sb.PanelText(kGroupPanel) + "\" with group " + std::to_string(e.group);
    if (e.mirrorAngle < 0 || e.mirrorAngle >= 180)
        return "the mirror line is at " + std::to_string(e.mirrorAngle) + " degrees";
    if (e.fill && e.shape != ShapeKind::None)
        return "Fill and a shape tool both on";
    // The cursor says the tool a press will use; colour pick takes the next press.
    CanvasCursor tool = CanvasCursor::Arrow;
    if (e.st.Mode != kColourPick)
        tool = e.fill                          ? CanvasCursor::Fill
               : e.shape == ShapeKind::Line   ? CanvasCursor::Line
               : e.shape == ShapeKind::Circle ? CanvasCursor::Circle
                                              : CanvasCursor::Arrow;
    const SurfaceWidget* canvas = e.ui.pbBox.box();
    const bool drawn = tool != CanvasCursor::Arrow;
    const Qt::CursorShape shape = canvas->showsHand()
                                      ? (canvas->cursor().shape() == Qt::ClosedHandCursor ? Qt::ClosedHandCursor
                                                                                           : Qt::OpenHandCursor)
                                      : (drawn ? Qt::BitmapCursor : Qt::ArrowCursor);
    if (canvas->toolCursor() != tool || canvas->cursor().shape() != shape)
        return "the canvas's cursor is not the tool's: Fill " + std::string(e.fill ? "on" : "off") + ", shape " +
               std::to_string(static_cast<int>(e.shape)) + " in mode " + std::to_string(e.st.Mode);
    // A preview shows only while its shape is being drawn.
    if (canvas->preview().shown() && !e.shapeDrag.active)
        return "a shape's preview stayed after its drag ended";
    return {};
}

}  // namespace

StormExpectations currentExpectations(MainWindow& w)
{
    const Controls& ui = w.editor().ui;
    StormExpectations x;
    x.canvas = QRect(ui.pbBox.Left(), ui.pbBox.Top(), ui.pbBox.Width(), ui.pbBox.Height());
    return x;
}

std::string checkEditor(MainWindow& w, StormExpectations& x)
{
    const Editor& e = w.editor();
    for (const std::string& failure : {checkModes(e), checkControlPoint(e, x), checkCanvas(w, x), checkRest(e)})
        if (!failure.empty())
            return failure;
    return {};
}

}  // namespace kalidor::test
