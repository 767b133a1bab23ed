#pragma once
// A surface that passes every drawing call on to a real one and records the
// segments it was given, so tests can check a stroke segment by segment.

#include <vector>

#include "platform/surface.h"

namespace kalidor::test {

struct DrawnSegment {
    float x1, y1, x2, y2;
    Colour colour;
    int16 width;
    friend bool operator==(const DrawnSegment&, const DrawnSegment&) = default;
};

class RecordingSurface final : public Surface {
public:
    explicit RecordingSurface(Surface& inner) : inner_(inner) {}

    std::vector<DrawnSegment> segments;  // every segment, in the order drawn
    int calls = 0;                       // drawing calls made (Line and Paint)

    void Line(float x1, float y1, float x2, float y2, Colour c, Shape shape, Corner corner) override
    {
        ++calls;
        if (shape == Shape::Segment)
            segments.push_back({x1, y1, x2, y2, c, inner_.DrawWidth()});
        inner_.Line(x1, y1, x2, y2, c, shape, corner);
    }
    void Paint(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c) override
    {
        ++calls;
        std::vector<Segment> copies;
        expandCopies(shapes, symmetry, copies);
        record(copies, c);
        inner_.Paint(shapes, symmetry, c);
    }
    int16 DrawMode() const override { return inner_.DrawMode(); }
    void SetDrawMode(int16 m) override { inner_.SetDrawMode(m); }
    int16 DrawWidth() const override { return inner_.DrawWidth(); }
    void SetDrawWidth(int16 w) override { inner_.SetDrawWidth(w); }
    std::int32_t Point(float x, float y) const override { return inner_.Point(x, y); }
    Colour BackColor() const override { return inner_.BackColor(); }
    void SetBackColor(Colour c) override { inner_.SetBackColor(c); }
    float ScaleWidth() const override { return inner_.ScaleWidth(); }
    float ScaleHeight() const override { return inner_.ScaleHeight(); }
    float Width() const override { return inner_.Width(); }
    float Height() const override { return inner_.Height(); }
    float KeptWidth() const override { return inner_.KeptWidth(); }
    float KeptHeight() const override { return inner_.KeptHeight(); }
    void SetPicture(const Picture& p) override { inner_.SetPicture(p); }
    Picture Image() const override { return inner_.Image(); }

private:
    void record(std::span<const Segment> s, Colour c)
    {
        for (const Segment& g : s)
            segments.push_back({g.x1, g.y1, g.x2, g.y2, c, inner_.DrawWidth()});
    }

    Surface& inner_;
};

}  // namespace kalidor::test
