#include "platform/widgets/preview_layer.h"

#include <QPainter>

namespace kalidor {

namespace {

constexpr std::uint32_t kInkPixel = toPixel(kPreviewInk);
constexpr std::uint32_t kBlankPixel = 0xFFFFFFFFu;

}  // namespace

PreviewLayer::PreviewLayer() : scratch_(0, 0, kWhite)
{
    listening_ = scratch_.listen([this](const QRegion& area) { drawn_ += area; });
}

PreviewLayer::~PreviewLayer() { scratch_.forget(listening_); }

void PreviewLayer::clear()
{
    for (const QRect& r : drawn_)
        scratch_.writer().box(r, Ink{Blend::CopyPen, kBlankPixel});
    drawn_ = QRegion();
}

Surface& PreviewLayer::begin(int width, int height, int16 drawWidth)
{
    clear();
    scratch_.SetSize(width, height);
    if (!pen_)
        pen_ = std::make_unique<RasterSurface>(scratch_, width, height, 0);
    pen_->setOuterSize(width, height);
    pen_->SetDrawWidth(drawWidth);
    return *pen_;
}

QRegion PreviewLayer::show(Colour colour)
{
    colour_ = colour;
    shown_ = true;
    return drawn_;
}

QRegion PreviewLayer::hide()
{
    if (!shown_)
        return {};
    shown_ = false;
    const QRegion was = drawn_;
    clear();
    return was;
}

bool PreviewLayer::covers(int x, int y) const
{
    return shown_ && drawn_.contains(QPoint(x, y)) && scratch_.kept().pixel(x, y) == kInkPixel;
}

void PreviewLayer::paint(QPainter& p, const ViewTransform& view, const QRect& source) const
{
    if (!shown_)
        return;
    const QImage& scratch = scratch_.kept();
    const QRgb colour = toPixel(colour_);
    for (const QRect& r : drawn_ & source) {
        QImage piece(r.size(), QImage::Format_ARGB32);
        for (int y = 0; y < r.height(); ++y) {
            const auto* from = reinterpret_cast<const QRgb*>(scratch.constScanLine(r.top() + y)) + r.left();
            auto* to = reinterpret_cast<QRgb*>(piece.scanLine(y));
            for (int x = 0; x < r.width(); ++x)
                to[x] = from[x] == kInkPixel ? colour : 0;
        }
        p.drawImage(QRectF(view.toWidget(QPointF(r.topLeft())), QSizeF(r.size()) * view.scale), piece);
    }
}

}  // namespace kalidor
