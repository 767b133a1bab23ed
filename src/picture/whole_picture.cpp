#include "picture/whole_picture.h"

#include <algorithm>

namespace kalidor {

void fillWholePicture(Surface& pb, Colour c)
{
    const float width = std::max(pb.ScaleWidth(), pb.KeptWidth());
    const float height = std::max(pb.ScaleHeight(), pb.KeptHeight());
    pb.Line(0, 0, width, height, c, Shape::FilledBox, Corner::Absolute);
}

}  // namespace kalidor
