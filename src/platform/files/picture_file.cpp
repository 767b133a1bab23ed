#include "platform/files/picture_file.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include "platform/files/bitmap16.h"
#include "platform/files/picture_integrity.h"

namespace kalidor {

namespace {

// What Open reads. Qt's other readers (PPM, XBM, XPM and the like) hand back
// the part of a cut-off file they could read as if it were the whole picture.
bool readable(const QByteArray& format)
{
    return format == "bmp" || format == "ico" || format == "gif" || format == "jpeg" || format == "png";
}

bool withinLimit(const QSize& size, long long maxPixels)
{
    return size.width() > 0 && size.height() > 0 &&
           static_cast<long long>(size.width()) * size.height() <= maxPixels;
}

// Reads a picture from `data`; `again` holds the same bytes, read through once
// to check that the file is complete before the decoder sees it.
std::optional<Picture> decode(QIODevice& data, QIODevice& again, long long maxPixels)
{
    // Also bounds the readers that learn a picture's size only while decoding.
    QImageReader::setAllocationLimit(static_cast<int>(maxPixels * 4 / (1024 * 1024)));
    QImageReader reader(&data);
    reader.setDecideFormatFromContent(true);
    // A photo marked as taken on its side is shown upright, turned as marked.
    reader.setAutoTransform(true);
    // Asked first: once the header is read, some readers (ICO) no longer say.
    const QByteArray format = reader.format();
    const QSize declared = reader.size();
    if (!readable(format) || (declared.isValid() && !withinLimit(declared, maxPixels)))
        return std::nullopt;
    // Some decoders hand back the part of a cut-off file they could read.
    if (!isComplete(again, format))
        return std::nullopt;
    const QImage image = reader.read();
    if (image.isNull() || !withinLimit(image.size(), maxPixels))
        return std::nullopt;
    if (format == "bmp")
        if (std::optional<QImage> exact = fullRangeBitmap16(again, image))
            return Picture(*exact);
    return Picture(image);
}

}  // namespace

std::optional<Picture> LoadPicture(const std::string& fileName)
{
    const QString name = QString::fromStdString(fileName);
    QFile data(name), again(name);
    if (name.isEmpty() || !data.open(QIODevice::ReadOnly) || !again.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decode(data, again, kMaxPicturePixels);
}

std::optional<Picture> LoadPicture(std::span<const std::byte> bytes, long long maxPixels)
{
    const QByteArray view = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<qsizetype>(bytes.size()));
    QBuffer data, again;
    data.setData(view);
    again.setData(view);
    if (!data.open(QIODevice::ReadOnly) || !again.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decode(data, again, maxPixels);
}

std::optional<std::string> SavePicture(const Picture& picture, const std::string& fileName)
{
    const QString name = QString::fromStdString(fileName);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString().toStdString();
    QImageWriter writer(&file, name.endsWith(".png", Qt::CaseInsensitive) ? "png" : "bmp");
    const bool written = writer.write(picture.image());
    // The last buffered bytes reach the file only when flushed, and commit does
    // not notice when the system takes only part of them: a short file would
    // replace the old one as if saved. A second flush retries the rest, which
    // brings out the system's reason that a write cut short does not give.
    const bool flushed = file.flush() || file.flush();
    if (!written || !flushed) {
        // A failed write of the file itself tells more than the writer's error.
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        file.cancelWriting();
        return reason.toStdString();
    }
    if (!file.commit())
        return file.errorString().toStdString();
    return std::nullopt;
}

}  // namespace kalidor
