#include "platform/widgets/view_zoom.h"

#include <algorithm>
#include <cmath>

#include <QString>

namespace kalidor {

double steppedZoom(double scale, int steps)
{
    constexpr double kSame = 1e-9;
    double z = std::clamp(scale, kLeastZoom, kMostZoom);
    for (; steps > 0; --steps) {
        const auto* next = std::find_if(std::begin(kZoomSteps), std::end(kZoomSteps),
                                        [z](double s) { return s > z * (1 + kSame); });
        z = next == std::end(kZoomSteps) ? kMostZoom : *next;
    }
    for (; steps < 0; ++steps) {
        const auto below = std::find_if(std::rbegin(kZoomSteps), std::rend(kZoomSteps),
                                         [z](double s) { return s < z * (1 - kSame); });
        z = below == std::rend(kZoomSteps) ? kLeastZoom : *below;
    }
    return z;
}

ViewTransform zoomedAbout(const ViewTransform& view, double scale, QPointF at)
{
    const QPointF under = view.toPicture(at);
    ViewTransform out;
    out.scale = std::clamp(scale, kLeastZoom, kMostZoom);
    out.origin = QPointF(std::round(at.x() - under.x() * out.scale), std::round(at.y() - under.y() * out.scale));
    return out;
}

namespace {

// The origin along one axis: the picture's `length` shown at `scale` from
// `from` within a viewport of `size` from `start`.
double limited(double from, double length, double scale, int start, int size)
{
    const double shown = length * scale;
    if (shown <= size)
        return start;
    const double least = std::ceil(start + size - shown);
    return std::clamp(std::round(from), least, static_cast<double>(start));
}

}  // namespace

ViewTransform panLimited(ViewTransform view, QSize picture, const QRect& viewport)
{
    view.origin = QPointF(limited(view.origin.x(), picture.width(), view.scale, viewport.left(), viewport.width()),
                          limited(view.origin.y(), picture.height(), view.scale, viewport.top(), viewport.height()));
    return view;
}

ViewTransform fitted(QSize picture, const QRect& viewport)
{
    ViewTransform view;
    view.origin = QPointF(viewport.topLeft());
    if (picture.isEmpty() || viewport.isEmpty())
        return view;
    view.scale = std::clamp(std::min(static_cast<double>(viewport.width()) / picture.width(),
                                     static_cast<double>(viewport.height()) / picture.height()),
                            kLeastZoom, kMostZoom);
    return view;
}

QPoint pixelUnder(const ViewTransform& view, QPointF at)
{
    const QPointF p = view.toPicture(at);
    return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

QString zoomText(double scale)
{
    return QString::number(scale * 100, 'g', 4) + "%";
}

}  // namespace kalidor
