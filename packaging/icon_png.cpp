// Writes the window icon as a PNG file for the desktop entry, so that the
// installed icon and the window's own are one picture.
#include <QImage>
#include <cstdio>

#include "app/kalidor_icon.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    const QImage icon(kalidor_icon_xpm);
    if (icon.isNull() || !icon.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
