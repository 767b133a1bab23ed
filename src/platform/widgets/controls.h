#pragma once
// Handles on the window's controls, with the properties and notifications the
// editor's logic uses. Copies refer to the same control.

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/canvas_cursor.h"
#include "platform/colour.h"
#include "platform/events.h"
#include "platform/int16.h"
#include "platform/overlay.h"
#include "platform/picture.h"
#include "platform/segment.h"

class QWidget;
class QPoint;
class QAbstractButton;
class QSlider;
class QLabel;
class QMenu;

namespace kalidor {

class SurfaceWidget;
class StatusBarWidget;
class WellWidget;
class MarkerWidget;

// A colour as a screen reader reads it: "#800080 (red 128, green 0, blue 128)".
std::string describeColour(Colour c);

// Moving a control to a negative size fails with this.
class MoveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Any control: whether it is shown, and its place in its container's pixels.
class Control {
public:
    Control() = default;
    // `originX`, `originY`: where the container's coordinates start inside the
    // container widget (its border, for a control on a picture box).
    explicit Control(QWidget* widget, int originX = 0, int originY = 0);

    bool Visible() const;
    void SetVisible(bool visible);
    int Left() const;
    int Top() const;
    void SetLeft(int left);
    void Move(int left, int top);
    void Move(int left, int top, int width, int height);
    int Width() const;
    int Height() const;
    // Shown while the pointer rests on the control: what it does, and its key.
    void SetToolTip(const std::string& text);
    // What a screen reader says of the control: its name, and what it is for.
    void SetAccessibleName(const std::string& name, const std::string& description = "");
    void SetAccessibleDescription(const std::string& description);

    QWidget* widget() const { return widget_; }

private:
    QWidget* widget_ = nullptr;
    int originX_ = 0;
    int originY_ = 0;
};

class CheckBox : public Control {
public:
    CheckBox() = default;
    explicit CheckBox(QAbstractButton* button);
    int16 Value() const;  // 0 unchecked, 1 checked
    // Setting a different value runs the click handler before returning.
    void SetValue(int16 value);
    void OnClick(std::function<void()> handler);
    QAbstractButton* button() const { return button_; }

private:
    QAbstractButton* button_ = nullptr;
};

class OptionButton : public Control {
public:
    OptionButton() = default;
    explicit OptionButton(QAbstractButton* button);
    bool Selected() const;
    // Runs when the button becomes the selected one of its group.
    void OnClick(std::function<void()> handler);
    QAbstractButton* button() const { return button_; }

private:
    QAbstractButton* button_ = nullptr;
};

class CommandButton : public Control {
public:
    CommandButton() = default;
    explicit CommandButton(QAbstractButton* button);
    void OnClick(std::function<void()> handler);
    QAbstractButton* button() const { return button_; }

private:
    QAbstractButton* button_ = nullptr;
};

class Slider : public Control {
public:
    Slider() = default;
    explicit Slider(QSlider* slider);
    int Value() const;
    int Max() const;
    // Runs whenever the user moves the slider.
    void OnScroll(std::function<void()> handler);
    QSlider* slider() const { return slider_; }

private:
    QSlider* slider_ = nullptr;
};

class Label : public Control {
public:
    Label() = default;
    explicit Label(QLabel* label);
    std::string Caption() const;
    void SetCaption(const std::string& text);

private:
    QLabel* label_ = nullptr;
};

class Well : public Control {
public:
    Well() = default;
    explicit Well(WellWidget* well);
    Colour BackColor() const;
    void SetBackColor(Colour c);  // repaints the well
    void OnClick(std::function<void()> handler);
    WellWidget* well() const { return well_; }

private:
    WellWidget* well_ = nullptr;
};

class StatusBar : public Control {
public:
    StatusBar() = default;
    explicit StatusBar(StatusBarWidget* bar);
    std::string PanelText(int panel) const;  // panels 1, 2, 3
    void SetPanelText(int panel, const std::string& text);
    void SetPanelToolTip(int panel, const std::string& text);
    void SetPanelName(int panel, const std::string& name);  // for assistive technology
    void OnMouseDown(std::function<void(const MouseArgs&)> handler);  // X, Y in twips
    StatusBarWidget* bar() const { return bar_; }

private:
    StatusBarWidget* bar_ = nullptr;
};

// The control-point marker on the canvas; its place is in the canvas
// picture's pixels, through the canvas's view: its middle pixel stands over
// the picture pixel in the middle of its place.
class Marker : public Control {
public:
    Marker() = default;
    Marker(MarkerWidget* marker, SurfaceWidget* canvas);
    int Left() const;
    int Top() const;
    void Move(int left, int top);
    void OnMouseMove(std::function<void(const MouseArgs&)> handler);  // X, Y in twips
    // The canvas picture's position under a point given in twips from the
    // marker's top-left corner, at the canvas's zoom.
    std::pair<float, float> PictureAt(float x, float y) const;
    MarkerWidget* marker() const { return marker_; }

private:
    QPoint place() const;

    MarkerWidget* marker_ = nullptr;
    SurfaceWidget* canvas_ = nullptr;
};

class Menu {
public:
    Menu() = default;
    explicit Menu(QMenu* menu);
    // Shows the items as a pop-up at the pointer.
    void PopupMenu();
    bool showing() const;
    void OnItem(int index, std::function<void()> handler);
    // A disabled item shows greyed out and cannot be chosen.
    void SetEnabled(int index, bool enabled);
    bool Enabled(int index) const;
    // A checkable item shows a check mark while checked; choosing it flips it.
    void SetCheckable(int index);
    // A picture beside the item's text, shown `size` pixels a side: every
    // item's picture at that size.
    void SetIcon(int index, const Picture& picture, int size);
    void SetChecked(int index, bool checked);
    bool Checked(int index) const;
    // Shown while the pointer rests on the item.
    void SetToolTip(int index, const std::string& text);
    QMenu* menu() const { return menu_; }

private:
    QMenu* menu_ = nullptr;
};

}  // namespace kalidor

namespace kalidor {

class Surface;

// A picture box as a control: a view of a picture, its place and size, and its
// mouse and drag notifications. Its drawing surface is `surface()`.
class PictureBox : public Control {
public:
    PictureBox() = default;
    explicit PictureBox(SurfaceWidget* box);
    Surface& surface() const;
    // Shown over the picture and never part of it (overlay.h): the guides,
    // and a tool's preview (no lines for none).
    void SetGuides(std::vector<Segment> guides);
    void SetPreview(OverlayLines preview);
    // The cursor over the box: the tool a press will use.
    void SetToolCursor(CanvasCursor cursor);
    // A tool's preview as the pen draws it (preview_layer.h): the pen for a
    // new one, which `ShowPreview` then shows in a colour; `HidePreview` ends it.
    Surface& BeginPreview();
    void ShowPreview(Colour colour);
    void HidePreview();
    // Whether the shown preview covers the picture's pixel (x, y).
    bool PreviewCovers(int x, int y) const;
    using Control::Move;
    void Move(int left, int top, int width, int height);
    // The view's zoom: `steps` steps up or down about the middle of the view,
    // the whole picture fitted, or 100 %; and the zoom now.
    void ZoomBy(int steps);
    void FitView();
    void ActualSize();
    double Zoom() const;
    // Told after every change of zoom or pan, however made.
    void OnViewChanged(std::function<void()> handler);
    void OnMouseDown(std::function<void(const MouseArgs&)> handler);
    void OnMouseMove(std::function<void(const MouseArgs&)> handler);
    // A button released over the box or after a press on it; `Button` holds the
    // buttons still down.
    void OnMouseUp(std::function<void(const MouseArgs&)> handler);
    void OnDragOver(std::function<void(DragSource, float x, float y)> handler);
    void OnDragDrop(std::function<void(DragSource, float x, float y)> handler);
    SurfaceWidget* box() const { return box_; }

private:
    SurfaceWidget* box_ = nullptr;
};

}  // namespace kalidor
