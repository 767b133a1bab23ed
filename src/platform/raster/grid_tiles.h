#pragma once
// What a grid step has handed the history of the tiles its rows write.

#include <cstdint>
#include <vector>

#include "platform/raster/pixel_writer.h"

namespace kalidor {

// Where the rows of one form lie in the tiles: found at its first row, and
// handed to the history once for each row of tiles its rows fall in, less the
// tiles other forms handed over in that row of tiles already.
struct PixelWriter::FormTiles {
    std::vector<std::uint64_t> columns;  // a bit a tile column
    bool known = false;
    int tileRow = -1;
};

struct PixelWriter::GridTiles {
    std::vector<FormTiles> forms;       // kept from step to step, for their memory
    std::vector<std::uint64_t> handed;  // tile columns of row of tiles `row` handed over
    int row = -1;
    std::vector<int> columns;

    void start()
    {
        for (FormTiles& f : forms) {
            f.known = false;
            f.tileRow = -1;
        }
        row = -1;
    }
};

}  // namespace kalidor
