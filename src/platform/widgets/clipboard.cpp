#include "platform/widgets/clipboard.h"

#include <span>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace kalidor {

void copyPictureToClipboard(const Picture& picture)
{
    // Qt offers the image in the formats other programs ask for when they ask.
    QGuiApplication::clipboard()->setImage(picture.image().convertToFormat(QImage::Format_RGB32));
}

namespace {

// An image already in memory: only its size can be too large.
LoadedPicture fromImage(const QImage& image, LoadLimits limits)
{
    LoadedPicture loaded;
    loaded.width = image.width();
    loaded.height = image.height();
    if (image.width() > kMaxPictureSide || image.height() > kMaxPictureSide) {
        loaded.failure = OpenFailure::TooLarge;
        return loaded;
    }
    const int w = std::min(image.width(), limits.shownWidth), h = std::min(image.height(), limits.shownHeight);
    if (static_cast<long long>(w) * h > limits.maxPixels) {
        loaded.failure = OpenFailure::TooLarge;
        return loaded;
    }
    loaded.picture = Picture(image.copy(0, 0, w, h).convertToFormat(QImage::Format_RGB32));
    return loaded;
}

}  // namespace

LoadedPicture pictureOnClipboard(LoadLimits limits)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    LoadedPicture none;
    none.failure = OpenFailure::NotAPicture;
    if (data == nullptr)
        return none;
    // A file format's bytes go through the readers' checks before any pixel
    // is made; Qt would decode them whole first.
    for (const char* format : {"image/png", "image/bmp", "image/jpeg", "image/gif"}) {
        if (!data->hasFormat(format))
            continue;
        const QByteArray bytes = data->data(format);
        if (bytes.isEmpty())
            continue;
        return ReadPicture(std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))),
                           limits);
    }
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull())
            return fromImage(image, limits);
    }
    return none;
}

}  // namespace kalidor
