#pragma once
// File > Size: a size of the picture's own, chosen by the user, or the
// picture following the window as it does from start.

#include <optional>
#include <string>

#include "editor/editor.h"

namespace kalidor {

// The largest side a picture of its own may have.
constexpr int kMaxOwnSide = 16384;

void mnuSize_Click(Editor& e);

// Why the picture cannot take that size, in words that end a sentence: a side
// beyond kMaxOwnSide, or more pixels than the machine can hold with the
// history's bound beside them. Nothing where it can. `available` is the memory
// free now (-1 unknown), `kept` the bytes the picture holds already.
std::optional<std::string> sizeRefusal(long long width, long long height, long long available, long long kept);
// The same with the machine's memory now.
std::optional<std::string> sizeRefusal(const Editor& e, long long width, long long height);

// Gives the picture its own size `width` x `height` as one step; says why
// not and changes nothing where it cannot. True where it did.
bool resizePicture(Editor& e, int width, int height);

}  // namespace kalidor
