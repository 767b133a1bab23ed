#pragma once
// The program's one top-level window: its own persistent drawing surface, the
// controls placed on it at fixed pixel positions, and its notifications. The
// window previews every key pressed in it before the control with the focus.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/widgets/controls.h"
#include "platform/surface.h"

class QWidget;

namespace kalidor {

class FormWidget;
class PictureDocument;

// A control's place and size in its container's pixels.
struct Place {
    int left;
    int top;
    int width;
    int height;
};

// An entry of a menu, with the keys that run it from anywhere in the window
// ("Ctrl+N"), shown beside its caption; no keys for none.
struct MenuItem {
    std::string caption;
    std::string keys;
};

class Form {
public:
    Form(const std::string& caption, int clientWidth, int clientHeight);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Controls. A null container is the window itself.
    Control addFrame(QWidget* container, Place place, const std::string& caption);
    OptionButton addOptionButton(QWidget* container, Place place, const std::string& text, bool selected);
    // A push-like check box is a button that stays down while checked.
    CheckBox addCheckBox(QWidget* container, Place place, const std::string& text, bool checked,
                         bool pushLike = false);
    CommandButton addCommandButton(QWidget* container, Place place, const std::string& text);
    Slider addSlider(QWidget* container, Place place, int min, int max, int value, int largeChange,
                     int smallChange);
    Label addLabel(QWidget* container, Place place, const std::string& text);
    Well addWell(Place place, Colour colour);
    // A picture box with a picture of its own, of its interior's size.
    PictureBox addPictureBox(Place place, int border, Colour back);
    // A picture box that shows and draws on `picture`, which the caller keeps
    // and sizes.
    PictureBox addPictureBox(Place place, int border, PictureDocument& picture);
    Marker addMarker(const PictureBox& canvas, Place place);
    // Docked along the bottom edge, as wide as the window.
    StatusBar addStatusBar(std::vector<int> panelWidths, int height);
    Menu addMenu(const std::string& caption, const std::vector<MenuItem>& items);

    // The window's own drawing surface, under its controls.
    Surface& surface();
    // The system's colour for the background of windows' contents.
    Colour windowBackground() const;
    // Client area, in pixels.
    float ScaleWidth() const;
    float ScaleHeight() const;
    int WindowState() const;
    // The largest client area the window can have: the largest screen's
    // available area, in pixels.
    float ScreenWidth() const;
    float ScreenHeight() const;

    void setIcon(const char* const* xpm);
    // The controls at the left edge, placed within `width` x `height`: where the
    // window is lower than that above its status bar, they scroll.
    void setColumn(int width, int height, const std::vector<QWidget*>& members);
    // How far the column is scrolled now, in pixels.
    int columnOffset() const;

    // Keyboard focus: the order of the Tab key, and the control focused first.
    void setTabOrder(const std::vector<QWidget*>& order);
    void setFocus(QWidget* widget);

    // After every change of size or state, and once before the window is shown.
    void OnResize(std::function<void()> handler);
    // Once, when the window is first shown at the size it was laid out to,
    // whether or not it is the active window.
    void OnShown(std::function<void()> handler);
    // Every key pressed while the window is active: virtual-key code, modifiers.
    void OnKeyDown(std::function<void(int16 keyCode, int16 shift)> handler);
    // When the window is asked to close (its close button, the keyboard, the
    // desktop's logout): it closes only where the handler returns true.
    void OnQueryClose(std::function<bool()> handler);
    // Files dropped on the window from a file manager, by their full names,
    // once the drop is over. Only local files are taken.
    void OnFilesDropped(std::function<void(const std::vector<std::string>& files)> handler);

    void showMaximised();
    // Runs `job` on the window's thread once the events before it are handled;
    // callable from any thread. Dropped if the window is gone by then.
    void later(std::function<void()> job);
    QWidget* widget() const;

private:
    FormWidget* window_;
};

}  // namespace kalidor
