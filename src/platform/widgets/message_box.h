#pragma once
// A modal message box that tells the user something went wrong.

#include <functional>
#include <string>

namespace kalidor {

void ShowMessage(const std::string& text);

// Tests read the message through this instead of a box; an empty function
// brings the real box back.
using MessageAnswer = std::function<void(const std::string& text)>;
void setMessageAnswer(MessageAnswer answer);

}  // namespace kalidor
