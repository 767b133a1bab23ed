#include "draw/press_settings.h"

namespace kalidor {

namespace {

constexpr int kEditPanel = 4;
// Narrow, so that a tool and a setting fit the panel's 96 pixels.
constexpr const char* kDot = "\u00b7";

const char* toolName(const Editor& e)
{
    if (e.fill)
        return "Fill";
    switch (e.shape) {
    case ShapeKind::Line: return "Line";
    case ShapeKind::Circle: return "Circle";
    default: return "";  // freehand: the settings alone say it
    }
}

}  // namespace

void chooseShape(Editor& e, ShapeKind shape)
{
    if (e.shapeDrag.active)
        return;
    e.shape = e.shape == shape ? ShapeKind::None : shape;
    if (e.shape != ShapeKind::None)
        e.fill = false;
}

void stepSteadiness(Editor& e) { e.steadiness = nextSteadiness(e.steadiness); }

std::string pressSummary(const Editor& e)
{
    // Colour pick shows itself on its own button.
    if (e.st.Mode == kColourPick)
        return "Edit";
    std::string text = toolName(e);
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : kDot) + part; };
    const bool drawing = !e.fill;
    if (drawing && e.mirror && drawingMode(e.st) == kCentric)
        add("Mirror " + std::to_string(e.mirrorAngle) + "\u00b0");
    if (drawing && e.shape == ShapeKind::None && e.steadiness != Steadiness::Off)
        add(e.steadiness == Steadiness::Light ? "Steady" : "Steady+");
    return text.empty() ? "Edit" : text;
}

void refreshPressSummary(Editor& e)
{
    const std::string text = pressSummary(e);
    if (e.ui.sb.PanelText(kEditPanel) == text)
        return;
    e.ui.sb.SetPanelText(kEditPanel, text);
    e.ui.sb.SetPanelToolTip(kEditPanel, text == "Edit" ? kEditPanelKeys : "Now: " + text + "\n" + kEditPanelKeys);
    // Its accessible name is "Edit", then what it shows.
    e.ui.sb.SetPanelName(kEditPanel, text == "Edit" ? "" : "Edit");
}

void refreshCanvasCursor(Editor& e)
{
    CanvasCursor cursor = CanvasCursor::Arrow;
    if (e.st.Mode != kColourPick) {
        if (e.fill)
            cursor = CanvasCursor::Fill;
        else if (e.shape == ShapeKind::Line)
            cursor = CanvasCursor::Line;
        else if (e.shape == ShapeKind::Circle)
            cursor = CanvasCursor::Circle;
    }
    e.ui.pbBox.SetToolCursor(cursor);
}

}  // namespace kalidor
