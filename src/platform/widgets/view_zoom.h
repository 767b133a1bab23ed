#pragma once
// Zoom and pan of a view: the steps of zoom, zooming about a point, the limits
// of panning, and fitting the picture in the view. Plain geometry over the
// view transform, so that every zoom and pan keeps the same rules.

#include <QPointF>
#include <QRect>
#include <QSize>

#include "platform/widgets/view_transform.h"

namespace kalidor {

// The zooms Ctrl++ and Ctrl+- step through. Below 100 % only halvings, so that
// each screen pixel shows whole blocks of picture pixels.
inline constexpr double kZoomSteps[] = {1.0 / 16, 1.0 / 8, 1.0 / 4, 1.0 / 2, 1, 2, 3, 4, 6, 8, 12, 16, 24, 32};
inline constexpr double kLeastZoom = kZoomSteps[0];
inline constexpr double kMostZoom = 32;
// From this zoom on, a grid shows the picture's pixels.
inline constexpr double kGridZoom = 8;

// The zoom `steps` steps up (down where negative) from `scale`; a zoom between
// steps (a fitted one) counts as lying between them.
double steppedZoom(double scale, int steps);

// The view at `scale`, the picture point under widget point `at` staying there.
ViewTransform zoomedAbout(const ViewTransform& view, double scale, QPointF at);
// The view panned no further than the picture reaches: a picture smaller than
// `viewport` (widget pixels) at its top-left corner, a larger one covering it.
// The origin is always a whole widget pixel.
ViewTransform panLimited(ViewTransform view, QSize picture, const QRect& viewport);
// The whole picture as large as it fits in `viewport`, within the zoom steps' range.
ViewTransform fitted(QSize picture, const QRect& viewport);

// The picture pixel under a widget point.
QPoint pixelUnder(const ViewTransform& view, QPointF at);

// The zoom as the status bar shows it: "400%", "12.5%".
QString zoomText(double scale);

}  // namespace kalidor
