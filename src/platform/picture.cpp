#include "platform/picture.h"

#include <QImage>

namespace kalidor {

Picture::Picture() : image_(std::make_shared<const QImage>()) {}

Picture::Picture(const QImage& image) : image_(std::make_shared<const QImage>(image)) {}

bool Picture::isEmpty() const { return image_->isNull(); }
int Picture::width() const { return image_->width(); }
int Picture::height() const { return image_->height(); }
const QImage& Picture::image() const { return *image_; }
Picture Picture::part(int x, int y, int width, int height) const { return Picture(image_->copy(x, y, width, height)); }

}  // namespace kalidor
