#include "draw/stroke_step.h"

namespace kalidor {

void paintStep(Surface& surface, const StrokeStep& step, Colour c)
{
    if (!step.shapes.empty() && !step.symmetry.ops.empty() && !step.symmetry.lattice.empty())
        surface.Paint(step.shapes, step.symmetry, c);
    if (step.overflow)
        throw *step.overflow;
}

}  // namespace kalidor
