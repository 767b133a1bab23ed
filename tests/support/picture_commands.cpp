#include "support/picture_commands.h"

#include <cstdlib>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTest>

#include "support/scripted_services.h"

namespace kalidor::test {

Answers::Answers(Editor& e) : messages(scripted(e).messages)
{
    scripted(e).fileAnswer = [this](FileDialogKind kind, const std::string& filter) {
        asked.emplace_back(kind, filter);
        return name;
    };
}

void menuItem(Editor& e, int index) { e.ui.mnuFile.menu()->actions().at(index)->trigger(); }

QImage canvasImage(const Editor& e) { return e.ui.pb->Image().image(); }

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QColor markAt(int x, int y, int w, int h)
{
    if (x < 16 && y < 16)
        return Qt::red;
    if (x >= w - 16 && y >= h - 16)
        return Qt::blue;
    return Qt::green;
}

QImage marked(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y, markAt(x, y, w, h));
    return image;
}

bool near(std::int32_t got, const QColor& want)
{
    const QColor g(red(static_cast<Colour>(got)), green(static_cast<Colour>(got)), blue(static_cast<Colour>(got)));
    return got >= 0 && std::abs(g.red() - want.red()) < 40 && std::abs(g.green() - want.green()) < 40 &&
           std::abs(g.blue() - want.blue()) < 40;
}

void drawSomething(Editor& e)
{
    Surface& pb = *e.ui.pb;
    pb.SetDrawWidth(3);
    pb.Line(0, 0, pb.ScaleWidth() - 1, pb.ScaleHeight() - 1, rgb(18, 52, 86));
    pb.Line(5, 60, 150, 70, 0x0000FF);
    pb.SetDrawWidth(1);
    pb.Line(pb.ScaleWidth() - 1, 0, pb.ScaleWidth() - 1, 20, 0x00FF00);  // the last column
}

}  // namespace kalidor::test
