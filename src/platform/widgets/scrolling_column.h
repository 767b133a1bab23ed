#pragma once
// The column of controls at the window's left edge, scrolled when the window is
// too low to show all of it. Where the window is tall enough it does nothing:
// every control stays where it was placed. Lower, a thin scroll bar appears at
// the column's right edge, the wheel over the column scrolls it, and a control
// that takes the keyboard focus is scrolled into view.

#include <vector>

#include <QObject>
#include <QRect>

class QScrollBar;
class QWidget;

namespace kalidor {

class ScrollingColumn : public QObject {
public:
    static constexpr int kBarWidth = 8;

    // `members` are children of `window` placed within the column's `width`
    // and `height` (their places now are the places they keep unscrolled).
    ScrollingColumn(QWidget* window, int width, int height, std::vector<QWidget*> members);

    // After every change of the window's size: `visibleHeight` of the column
    // shows above whatever is docked at the bottom.
    void fit(int visibleHeight);
    // How far the column is scrolled, in pixels; 0 where it fits. A pixel or
    // three past the column's end at a fractional scale.
    int offset() const { return offset_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The part of the window the column shows, scroll bar excluded.
    QRect shownArea() const;
    QScrollBar* bar() const { return bar_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Member {
        QWidget* widget;
        QRect home;
        bool narrows;  // placed within the column, so it gives way to the bar
    };
    void scrollTo(int offset);
    int wholeDevicePixels(int offset) const;
    void place();
    bool inColumn(const QWidget* w) const;

    QWidget* window_;
    int width_;
    int height_;
    int visible_;
    int offset_ = 0;
    std::vector<Member> members_;
    QScrollBar* bar_;
};

}  // namespace kalidor
