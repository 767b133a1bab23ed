#include "platform/widgets/scrolling_column.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QScrollBar>
#include <QSlider>
#include <QWheelEvent>

namespace kalidor {

ScrollingColumn::ScrollingColumn(QWidget* window, int width, int height, std::vector<QWidget*> members)
    : QObject(window), window_(window), width_(width), height_(height), visible_(height),
      bar_(new QScrollBar(Qt::Vertical, window))
{
    for (QWidget* w : members) {
        members_.push_back({w, w->geometry(), w->x() + w->width() <= width});
        // Qt moves a widget that paints all its own pixels (the palette) by
        // copying them on the screen, and at a scale such as 1.25 the copy
        // leaves out a row of device pixels, which keeps what was there before.
        // Painted afresh instead, over what lies under them.
        w->setAttribute(Qt::WA_OpaquePaintEvent, false);
    }
    bar_->setSingleStep(20);
    bar_->setAccessibleName("Scroll the controls");
    bar_->hide();
    connect(bar_, &QScrollBar::valueChanged, this, [this](int value) { scrollTo(value); });
    qApp->installEventFilter(this);
}

void ScrollingColumn::fit(int visibleHeight)
{
    visible_ = std::max(0, visibleHeight);
    const int overflow = std::max(0, height_ - visible_);
    bar_->setGeometry(width_ - kBarWidth, 0, kBarWidth, visible_);
    bar_->setRange(0, overflow);
    bar_->setPageStep(std::max(1, visible_));
    bar_->setVisible(overflow > 0);
    // The bar's signal does not come when the value stays and the width changes.
    scrollTo(bar_->value());
}

QRect ScrollingColumn::shownArea() const
{
    return QRect(0, 0, bar_->isVisible() ? width_ - kBarWidth : width_, visible_);
}

// The column moves by whole device pixels, so that scrolled it is drawn exactly
// as it is unscrolled: at a scale of 1.25 by fours of pixels, at 1.5 by twos.
int ScrollingColumn::wholeDevicePixels(int offset) const
{
    const qreal scale = window_->devicePixelRatioF();
    int step = 1;
    while (step < 16 && std::abs(step * scale - std::round(step * scale)) > 0.001)
        ++step;
    return (offset + step - 1) / step * step;
}

void ScrollingColumn::scrollTo(int offset)
{
    offset_ = wholeDevicePixels(std::clamp(offset, 0, std::max(0, height_ - visible_)));
    place();
    window_->update(QRect(0, 0, width_, visible_));
}

void ScrollingColumn::place()
{
    const int right = shownArea().width();
    for (const Member& m : members_) {
        // Frames are moved sideways by the editor; only the height is the column's.
        QRect now = m.widget->geometry();
        now.moveTop(m.home.top() - offset_);
        // Beside the bar, what reached under it gives way.
        if (m.narrows)
            now.setWidth(std::min(m.home.width(), std::max(0, right - now.left())));
        m.widget->setGeometry(now);
    }
}

bool ScrollingColumn::inColumn(const QWidget* w) const
{
    for (; w && w != window_; w = w->parentWidget())
        for (const Member& m : members_)
            if (m.widget == w)
                return true;
    return false;
}

bool ScrollingColumn::eventFilter(QObject* watched, QEvent* event)
{
    if (!bar_->isVisible())
        return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != window_ || w == bar_)
        return false;
    if (event->type() == QEvent::Wheel && (w == window_ || inColumn(w)) && !qobject_cast<QSlider*>(w)) {
        const QPoint at = w->mapTo(window_, static_cast<QWheelEvent*>(event)->position().toPoint());
        if (at.x() < width_ && at.y() < visible_) {
            QApplication::sendEvent(bar_, event);
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn && inColumn(w)) {
        // Reached with the keyboard: shown whole.
        const QRect r(w->mapTo(window_, QPoint(0, 0)), w->size());
        if (r.top() < 0)
            bar_->setValue(offset_ + r.top());
        else if (r.bottom() >= visible_)
            bar_->setValue(offset_ + r.bottom() + 1 - visible_);
    }
    return false;
}

}  // namespace kalidor
