#include "picture/whole_picture.h"

namespace kalidor {

void fillWholePicture(Surface& pb, Colour c)
{
    pb.Line(0, 0, pb.KeptWidth(), pb.KeptHeight(), c, Shape::FilledBox, Corner::Absolute);
}

}  // namespace kalidor
