#pragma once
// The colour dialog: modal, starting with a given colour selected, its custom
// colours shown from the start with no way to hide them.

#include <functional>
#include <optional>

#include "platform/colour.h"

namespace kalidor {

class Form;

// Runs the dialog over the window and returns the colour the user confirmed,
// or nothing when the user cancelled.
std::optional<Colour> ShowColor(Form& owner, Colour initial);

// Answers the dialog instead of a user: while set, `ShowColor` calls it with the
// initial colour and shows nothing. An empty function restores the real dialog.
using ColourDialogAnswer = std::function<std::optional<Colour>(Colour initial)>;
void answerColourDialogWith(ColourDialogAnswer answer);

}  // namespace kalidor
