#pragma once
// At start-up, the copies left by a Kalidor that is no longer running are
// offered, newest first: "Restore" makes one the canvas's picture, as Open
// does, counted as unsaved; "Discard" deletes it. A damaged copy is refused
// whole, said and removed.

#include <string>

#include "editor/editor.h"

namespace kalidor {

class Recovery;

// After a Restore the other copies stay for a later start, so that restoring
// one never buries another under it, where only Undo would find it.
void offerRecoveryCopies(Editor& e, Recovery& recovery, const std::string& folder);

}  // namespace kalidor
