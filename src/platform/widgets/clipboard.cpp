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
    QGuiApplication::clipboard()->setImage(picture.image());
}

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
            return TakePicture(Picture(image), limits);
    }
    return none;
}

}  // namespace kalidor
