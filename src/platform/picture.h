#pragma once
// A picture as the surfaces take and give it: a loaded file, or a surface's image.

#include <memory>

class QImage;

namespace kalidor {

class Picture {
public:
    Picture();  // the empty picture
    explicit Picture(const QImage& image);

    bool isEmpty() const;
    int width() const;
    int height() const;
    const QImage& image() const;  // an empty QImage for the empty picture
    // The rectangle of `width` x `height` pixels from (x, y), within the picture.
    Picture part(int x, int y, int width, int height) const;

private:
    std::shared_ptr<const QImage> image_;
};

}  // namespace kalidor
