#include "draw/shape_tool.h"

#include "draw/stroke_tool.h"

namespace kalidor {

namespace {

Point16 pointerOf(const MouseArgs& m) { return Point16{xr(m), yr(m)}; }

// The steps a stroke along the path makes, on a stroke state `s`, each drawn by `draw`.
template <class Draw>
void strokeAlong(const Editor& e, EditorState& s, const std::vector<Point16>& path, Draw draw)
{
    strokeStartOn(e, s, path.front().x, path.front().y);
    for (std::size_t i = 1; i < path.size(); ++i)
        draw(strokeStepOn(e, s, path[i].x, path[i].y));
}

std::vector<Point16> currentPath(const ShapeDrag& d, ShapePath path) { return path(d.from, d.to, d.snap); }

// The shape's copies on the preview, drawn as the release will draw them.
void showPreview(Editor& e, ShapePath path)
{
    const ShapeDrag& d = e.shapeDrag;
    const Well* well = wellAt(e, d.button);
    if (!well || d.to == d.from) {
        e.ui.pbBox.HidePreview();
        return;
    }
    Surface& pen = e.ui.pbBox.BeginPreview();
    EditorState scratch = e.st;
    strokeAlong(e, scratch, currentPath(d, path), [&](const StrokeStep& step) {
        if (!step.shapes.empty() && !step.symmetry.ops.empty() && !step.symmetry.lattice.empty())
            pen.Paint(step.shapes, step.symmetry, kPreviewInk);
    });
    e.ui.pbBox.ShowPreview(well->BackColor());
}

}  // namespace

void pressShape(Editor& e, const MouseArgs& m)
{
    if (e.shapeDrag.active) {
        e.shapeDrag.button = m.Held;  // a second button: well 3
        return;
    }
    e.shapeDrag = ShapeDrag{true, pointerOf(m), pointerOf(m), (m.Shift & kCtrlKey) != 0,
                            m.Held != 0 ? m.Held : m.Button};
}

void dragShape(Editor& e, const MouseArgs& m, ShapePath path)
{
    ShapeDrag& d = e.shapeDrag;
    if (!d.active)
        return;  // pressed with another tool, or cancelled
    d.to = pointerOf(m);
    d.snap = (m.Shift & kCtrlKey) != 0;
    d.button = m.Button;
    showPreview(e, path);
}

void releaseShape(Editor& e, const MouseArgs& m, ShapePath path)
{
    ShapeDrag& d = e.shapeDrag;
    if (!d.active)
        return;
    d.active = false;
    e.ui.pbBox.HidePreview();
    d.to = pointerOf(m);
    d.snap = (m.Shift & kCtrlKey) != 0;
    const Well* well = wellAt(e, d.button);
    if (!well || d.to == d.from)
        return;  // a click, or a button with no well: nothing drawn
    strokeAlong(e, e.st, currentPath(d, path),
                [&](const StrokeStep& step) { paintStep(*e.ui.pb, step, well->BackColor()); });
}

void cancelShape(Editor& e)
{
    e.shapeDrag.active = false;
    e.ui.pbBox.HidePreview();
}

}  // namespace kalidor
