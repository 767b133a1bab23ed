#include "picture/recovery_offer.h"

#include <cstring>
#include <memory>

#include <QDateTime>
#include <QImage>
#include <QLocale>

#include "picture/recovery.h"
#include "picture/undo_redo.h"
#include "platform/files/recovery_folder.h"

namespace kalidor {

namespace {

std::string when(std::int64_t ms)
{
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(ms);
    const QLocale here;
    return (here.toString(t.date(), QLocale::LongFormat) + " " + here.toString(t.time(), QLocale::ShortFormat))
        .toStdString();
}

Picture toPicture(const RecoveryPicture& p)
{
    QImage image(p.width, p.height, QImage::Format_RGB32);
    for (int y = 0; y < p.height; ++y)
        std::memcpy(image.scanLine(y), &p.pixels[static_cast<std::size_t>(y) * p.width],
                    static_cast<std::size_t>(p.width) * 4);
    return Picture(image);
}

}  // namespace

void offerRecoveryCopies(Editor& e, Recovery& recovery, const std::string& folder)
{
    for (LeftCopy& copy : findLeftCopies(folder)) {
        if (!copy.picture) {
            e.services->ShowMessage("The recovery copy of the drawing from " + when(copy.savedAtMs) +
                                    " is damaged and cannot be restored. It has been removed.");
            copy.remove();
            continue;
        }
        const std::string question = "Kalidor was closed before the drawing was saved. Restore the drawing from " +
                                     when(copy.savedAtMs) + "?";
        switch (e.services->AskRestore(question)) {
        case RestoreChoice::Restore: {
            // A picture of its own size comes back at that size, whatever the window's.
            asOneStep(e, StepKind::Open, [&] {
                if (copy.picture->ownSize)
                    e.ui.picture->Resize(copy.picture->width, copy.picture->height, false);
                e.ui.picture->SetPicture(toPicture(*copy.picture));
            });
            recovery.afterEvent();
            // The old copy goes only once this window's own holds the picture.
            auto old = std::make_shared<LeftCopy>(std::move(copy));
            old->picture.reset();
            recovery.writer().then([old](bool written) {
                if (written)
                    old->remove();
            });
            return;
        }
        case RestoreChoice::Discard:
            copy.remove();
            break;
        case RestoreChoice::Later:
            break;
        }
    }
}

}  // namespace kalidor
