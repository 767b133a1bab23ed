// The view's zoom and pan against plain arithmetic, and the reduced view
// against a plain box average of the picture under each screen pixel.

#include <cmath>
#include <random>

#include <QTest>

#include "platform/raster/reduced_view.h"
#include "platform/widgets/view_zoom.h"

using namespace kalidor;

namespace {

// Each widget pixel of `area`: the picture's pixels under it, each weighted
// by the part of it they cover.
QImage boxAverage(const QImage& picture, double scale, QPoint origin, const QRect& area)
{
    QImage out(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x) {
            const double x0 = (area.left() + x - origin.x()) / scale, x1 = x0 + 1 / scale;
            const double y0 = (area.top() + y - origin.y()) / scale, y1 = y0 + 1 / scale;
            double sum[3] = {}, weight = 0;
            for (int py = std::max(0, int(std::floor(y0))); py < std::min(picture.height(), int(std::ceil(y1))); ++py)
                for (int px = std::max(0, int(std::floor(x0))); px < std::min(picture.width(), int(std::ceil(x1))); ++px) {
                    const double w = (std::min(x1, px + 1.0) - std::max(x0, double(px))) *
                                     (std::min(y1, py + 1.0) - std::max(y0, double(py)));
                    const QRgb p = picture.pixel(px, py);
                    sum[0] += w * qRed(p);
                    sum[1] += w * qGreen(p);
                    sum[2] += w * qBlue(p);
                    weight += w;
                }
            out.setPixel(x, y, weight == 0 ? qRgb(1, 2, 3)
                                           : qRgb(int(sum[0] / weight + 0.5), int(sum[1] / weight + 0.5),
                                                  int(sum[2] / weight + 0.5)));
        }
    return out;
}

int largestDifference(const QImage& a, const QImage& b)
{
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (const int shift : {0, 8, 16})
                most = std::max(most, std::abs(int((a.pixel(x, y) >> shift) & 0xFF) - int((b.pixel(x, y) >> shift) & 0xFF)));
    return most;
}

// Fine stripes and noise: what shimmers when every n-th pixel is picked.
QImage busyPicture(int w, int h, std::mt19937& random)
{
    QImage p(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixel(x, y, (x + y) % 3 == 0 ? qRgb(0, 0, 0) : qRgb(int(random() % 256), 200, int(random() % 256)));
    return p;
}

}  // namespace

class ViewZoomTest : public QObject {
    Q_OBJECT
private slots:
    void zoomStepsClimbAndFallWithinTheirRange()
    {
        double z = 1;
        QList<double> up;
        for (int i = 0; i < 11; ++i)
            up << (z = steppedZoom(z, 1));
        QCOMPARE(up, (QList<double>{2, 3, 4, 6, 8, 12, 16, 24, 32, 32, 32}));
        QCOMPARE(steppedZoom(1, -4), 1.0 / 16);
        QCOMPARE(steppedZoom(1, -9), 1.0 / 16);
        QCOMPARE(steppedZoom(0.37, 1), 0.5);  // a fitted zoom lies between steps
        QCOMPARE(steppedZoom(0.37, -1), 0.25);
        QCOMPARE(steppedZoom(5, 2), 8.0);
        QCOMPARE(zoomText(0.125), QString("12.5%"));
        QCOMPARE(zoomText(8), QString("800%"));
    }

    void zoomKeepsThePointUnderThePointerAndPanStaysWithinThePicture()
    {
        std::mt19937 random(11);
        const QRect viewport(2, 2, 640, 480);
        for (int i = 0; i < 2000; ++i) {
            const QSize picture(1 + int(random() % 5000), 1 + int(random() % 5000));
            ViewTransform view{kZoomSteps[random() % std::size(kZoomSteps)],
                               QPointF(int(random() % 4000) - 3000, int(random() % 4000) - 3000)};
            const QPointF at(viewport.left() + random() % 640, viewport.top() + random() % 480);
            const double to = kZoomSteps[random() % std::size(kZoomSteps)];
            const ViewTransform zoomed = zoomedAbout(view, to, at);
            QCOMPARE(zoomed.scale, to);
            // The origin is whole, so the point moves by less than a widget pixel.
            QCOMPARE(zoomed.origin, QPointF(std::round(zoomed.origin.x()), std::round(zoomed.origin.y())));
            QVERIFY(std::abs(zoomed.toWidget(view.toPicture(at)).x() - at.x()) <= 0.5);
            QVERIFY(std::abs(zoomed.toWidget(view.toPicture(at)).y() - at.y()) <= 0.5);
            // Panned no further than the picture: it covers the view, or sits at its corner.
            const ViewTransform held = panLimited(zoomed, picture, viewport);
            const double w = picture.width() * to, h = picture.height() * to;
            if (w <= viewport.width())
                QCOMPARE(held.origin.x(), double(viewport.left()));
            else
                QVERIFY(held.origin.x() <= viewport.left() && held.origin.x() + w >= viewport.right() + 1);
            if (h <= viewport.height())
                QCOMPARE(held.origin.y(), double(viewport.top()));
            else
                QVERIFY(held.origin.y() <= viewport.top() && held.origin.y() + h >= viewport.bottom() + 1);
            // The pixel under the pointer is the one whose square holds it.
            const QPointF p(viewport.left() + (random() % 64000) / 100.0, viewport.top() + (random() % 48000) / 100.0);
            const QPoint under = pixelUnder(held, p);
            QVERIFY(held.toWidget(QPointF(under)).x() <= p.x() && p.x() < held.toWidget(QPointF(under + QPoint(1, 1))).x());
            QVERIFY(held.toWidget(QPointF(under)).y() <= p.y() && p.y() < held.toWidget(QPointF(under + QPoint(1, 1))).y());
        }
        // Fit: the whole picture, as large as the view takes.
        const ViewTransform fit = fitted(QSize(1600, 600), viewport);
        QCOMPARE(fit.scale, 0.4);
        QCOMPARE(fitted(QSize(10, 10), viewport).scale, 32.0);
        QCOMPARE(fitted(QSize(16384, 16384), QRect(0, 0, 100, 100)).scale, kLeastZoom);
    }

    void theReducedViewIsTheBoxAverageOfThePictureUnderEachPixel()
    {
        std::mt19937 random(5);
        QImage picture = busyPicture(333, 211, random);
        ReducedView reduced;
        QImage shown;
        for (const double scale : {0.5, 0.25, 0.125, 1.0 / 16}) {
            const QPoint origin(2 - int(random() % 20), 2 - int(random() % 20));
            const QRect area(0, 0, 200, 150);
            reduced.render(picture, picture.size(), scale, origin, area, qRgb(1, 2, 3), shown);
            // Halvings show whole blocks: the average exactly, but for rounding.
            QVERIFY2(largestDifference(shown, boxAverage(picture, scale, origin, area)) <= 1,
                     qPrintable(QString::number(scale)));
        }
        // A fitted zoom between the steps: near the average.
        reduced.render(picture, picture.size(), 0.37, QPoint(2, 2), QRect(0, 0, 130, 80), qRgb(1, 2, 3), shown);
        QVERIFY(largestDifference(shown, boxAverage(picture, 0.37, QPoint(2, 2), QRect(0, 0, 130, 80))) <= 24);
        // A change, once told, shows at every level.
        for (int y = 40; y < 90; ++y)
            for (int x = 100; x < 180; ++x)
                picture.setPixel(x, y, qRgb(255, 0, 0));
        reduced.changed(QRect(100, 40, 80, 50));
        for (const double scale : {0.5, 0.125}) {
            reduced.render(picture, picture.size(), scale, QPoint(0, 0), QRect(0, 0, 60, 40), qRgb(1, 2, 3), shown);
            QVERIFY(largestDifference(shown, boxAverage(picture, scale, QPoint(0, 0), QRect(0, 0, 60, 40))) <= 1);
        }
    }
};

QTEST_MAIN(ViewZoomTest)
#include "test_view_zoom.moc"
