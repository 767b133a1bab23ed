#include "platform/widgets/frame_pacer.h"

namespace kalidor {

FramePacer::FramePacer(std::function<void(const QRegion&)> show) : show_(std::move(show))
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { flush(); });
}

void FramePacer::changed(const QRegion& area)
{
    pending_ += area;
    if (timer_.isActive())
        return;
    const qint64 since = sinceShown_.isValid() ? sinceShown_.elapsed() : frameMs_;
    if (since >= frameMs_)
        flush();
    else
        timer_.start(static_cast<int>(frameMs_ - since));
}

void FramePacer::flush()
{
    if (pending_.isEmpty())
        return;
    sinceShown_.start();
    const QRegion area = std::move(pending_);
    pending_ = QRegion();
    show_(area);
}

}  // namespace kalidor
