#pragma once
// The recovery copy: while the picture has unsaved changes, a copy of it as
// the last finished step left it is kept on the disk, so that a crash, a kill
// or a power cut loses at most the step under way and the last moment's work.
// Here, on the window's thread, each finished step names just the tiles it
// changed; the writer copies them out (the picture waiting for it before its
// next write) and puts them on the disk on a thread of its own.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QRegion>

#include "editor/editor.h"
#include "platform/files/recovery_writer.h"

namespace kalidor {

class Recovery {
public:
    // `picture` is the picture's whole kept image, its top-left Width x
    // Height the picture: the part that is copied.
    Recovery(Editor& e, const QImage& picture, std::unique_ptr<RecoveryWriter> writer);

    // The canvas changed there, in its interior's pixels.
    void changed(const QRegion& area);
    // After every notification: a step that has finished since is copied out
    // and handed to the writer, and a picture saved since drops the copy.
    void afterEvent();
    // The window closed normally: the copy goes.
    void closed();
    // The copy could not be written: said once, and drawing goes on.
    void failed(const std::string& why);

    RecoveryWriter& writer() { return *writer_; }

private:
    void resize(int width, int height);
    RecoveryChange copyOut(bool whole) const;

    Editor& e_;
    const QImage& picture_;
    std::unique_ptr<RecoveryWriter> writer_;
    int width_ = 0;   // of the picture as the writer has it
    int height_ = 0;
    bool ownSize_ = false;
    bool wholeDue_ = true;  // the writer has not yet had the picture at this size
    std::vector<std::uint8_t> touched_;  // by tile, since the last copy
    std::vector<std::uint32_t> touchedList_;
    long long state_ = -1;  // the picture's state at the last copy
    bool kept_ = false;     // unsaved at the last copy
    bool told_ = false;
    bool closed_ = false;
};

}  // namespace kalidor
