// The picture apart from its views: every kind of write through its pixel
// writer is kept by the history and reported where it changed pixels, its size
// hides and shows what it keeps, and its listeners hear until they leave.

#include <QImage>
#include <QTest>

#include "platform/raster/raster_surface.h"

using namespace kalidor;

namespace {

constexpr Colour kRed = 0x0000FF;
constexpr int kW = 300;
constexpr int kH = 200;

// The picture with a pen over it, and all it reports.
struct Drawn {
    PictureDocument picture{kW, kH, kWhite};
    RasterSurface pen{picture, kW, kH, 0};
    QRegion reported;
    Drawn()
    {
        picture.keepHistory();
        picture.listen([this](const QRegion& r) { reported += r; });
    }
};

// The pixels of the picture that differ between two kept images, none of
// them outside `reported`; empty where that holds.
QString unreported(const QImage& before, const QImage& after, const QRegion& reported)
{
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (before.pixel(x, y) != after.pixel(x, y) && !reported.contains(QPoint(x, y)))
                return QString("(%1, %2) changed unreported").arg(x).arg(y);
    return {};
}

}  // namespace

class PictureDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void everyWriteIsKeptAndReportedWhereItChangedPixels()
    {
        Drawn d;
        d.pen.SetDrawWidth(7);
        d.pen.Line(20, 20, 280, 180, kBlack);  // something for the later writes to change
        struct Write {
            const char* name;
            StepKind kind;
            std::function<void(Drawn&)> write;
        };
        const Write writes[] = {
            {"a segment's runs", StepKind::Stroke, [](Drawn& w) { w.pen.Line(10, 150, 200, 40, kRed); }},
            {"a lattice's rows", StepKind::Stroke,
             [](Drawn& w) {
                 Symmetry sym;
                 sym.lattice = Lattice{13, 0, 0, 11, 22, 18};
                 const Segment s{3, 2, 9, 6};
                 w.pen.Paint(std::span(&s, 1), sym, kRed);
             }},
            {"a lattice's dense rows", StepKind::Stroke,
             [](Drawn& w) {
                 w.pen.SetDrawWidth(1);
                 Symmetry sym;
                 sym.lattice = Lattice{3, 0, 0, 2, 100, 100};
                 const Segment s{0, 0, 1, 0};
                 w.pen.Paint(std::span(&s, 1), sym, 0x00FF00);
                 w.pen.SetDrawWidth(7);
             }},
            {"a box", StepKind::Stroke, [](Drawn& w) { w.pen.Line(50, 60, 120, 90, kRed, Shape::FilledBox); }},
            {"Invert", StepKind::Invert,
             [](Drawn& w) {
                 w.pen.SetDrawMode(kInvertPen);
                 w.pen.Line(0, 0, kW, kH, kBlack, Shape::FilledBox);
                 w.pen.SetDrawMode(kCopyPen);
             }},
            {"a fill", StepKind::Stroke, [](Drawn& w) { w.picture.Fill(std::vector<PixelPoint>{{2, 190}, {290, 5}}, kRed); }},
            {"Open", StepKind::Open,
             [](Drawn& w) {
                 QImage small(40, 30, QImage::Format_RGB32);
                 small.fill(Qt::green);
                 w.picture.SetPicture(Picture(small));
             }},
            {"New", StepKind::New, [](Drawn& w) { w.pen.Line(0, 0, kW, kH, kWhite, Shape::FilledBox); }},
        };
        for (const Write& write : writes) {
            const QImage before = d.picture.kept().copy();
            d.reported = QRegion();
            d.picture.BeginStep(write.kind);
            write.write(d);
            d.picture.EndStep();
            const QImage after = d.picture.kept().copy();
            QVERIFY2(after != before, write.name);
            const QString missed = unreported(before, after, d.reported);
            QVERIFY2(missed.isEmpty(), qPrintable(QString(write.name) + ": " + missed));
            // Undone and redone, exactly, and each reported where it changed.
            d.reported = QRegion();
            QVERIFY(d.picture.Undo());
            QVERIFY2(d.picture.kept() == before, write.name);
            QVERIFY2(unreported(after, before, d.reported).isEmpty(), write.name);
            QVERIFY(d.picture.Redo());
            QVERIFY2(d.picture.kept() == after, write.name);
        }
    }

    void theSizeHidesAndShowsWhatThePictureKeeps()
    {
        Drawn d;
        d.pen.Line(250, 150, 260, 150, kRed);
        d.picture.SetSize(200, 100);
        QCOMPARE(d.picture.Point(255, 150), -1);  // beyond the picture, though kept
        QCOMPARE(d.picture.Image().width(), 200);
        QCOMPARE(d.pen.KeptWidth(), float(kW));
        // What is drawn beyond the size is neither shown nor reported.
        d.reported = QRegion();
        d.pen.Line(250, 160, 260, 160, kRed);
        QVERIFY(d.reported.isEmpty());
        d.picture.SetSize(kW, kH);
        QCOMPARE(d.picture.Point(255, 150), std::int32_t{kRed});
        QCOMPARE(d.picture.Point(255, 160), std::int32_t{kRed});
        // A listener that left hears nothing; the others still do.
        int heard = 0;
        const int id = d.picture.listen([&](const QRegion&) { ++heard; });
        d.pen.Line(5, 5, 6, 5, kRed);
        d.picture.forget(id);
        d.reported = QRegion();
        d.pen.Line(5, 9, 6, 9, kRed);
        QCOMPARE(heard, 1);
        QVERIFY(d.reported.contains(QPoint(5, 9)));
    }
};

QTEST_GUILESS_MAIN(PictureDocumentTest)
#include "test_picture_document.moc"
