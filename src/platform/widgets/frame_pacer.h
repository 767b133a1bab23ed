#pragma once
// Repaints at most once per frame of the screen. Every move of a stroke is drawn
// into the picture as it comes; when moves come faster than the screen shows
// them (a 1000 Hz mouse, a whole 4K canvas changed by every move), what they
// changed is gathered and shown at the next frame instead of once per move.

#include <functional>

#include <QElapsedTimer>
#include <QRegion>
#include <QTimer>

namespace kalidor {

class FramePacer {
public:
    // `show` is given what changed since it was last called.
    explicit FramePacer(std::function<void(const QRegion&)> show);

    // `area` changed: shown now when the last frame is a frame ago, else at the
    // next frame.
    void changed(const QRegion& area);

    // The interval between frames, from the screen's refresh rate, at most 1/60 s.
    void setFrameMs(int ms) { frameMs_ = ms; }

private:
    void flush();

    std::function<void(const QRegion&)> show_;
    QRegion pending_;
    QTimer timer_;
    QElapsedTimer sinceShown_;
    int frameMs_ = 16;
};

}  // namespace kalidor
