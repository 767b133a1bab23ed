#pragma once
// Pattern's wallpaper group as the user chooses it: the status bar's fifth
// panel shows its short name, and a press there opens a pop-up of the 17
// groups, each with a few words and a small picture of one motif repeated
// under it. The group is a setting: kept when the mode changes, not undone.

#include <string>

#include "editor/editor.h"
#include "platform/surface.h"

namespace kalidor {

constexpr int kGroupPanel = 5;     // the status bar's panel
constexpr int kGroupPicture = 40;  // the pop-up's pictures, pixels a side

// "p4m: square, mirrors and quarter turns".
std::string groupCaption(int group);
// One motif (a small flag, turned over by a mirror) repeated under the group
// over the whole surface, in a few cells.
void drawGroupSample(Surface& surface, int group);

// Makes `group` Pattern's group and shows its name.
void chooseGroup(Editor& e, int group);
// Before the pop-up opens: the current group's entry checked.
void showGroupMenu(Editor& e);

}  // namespace kalidor
