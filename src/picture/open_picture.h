#pragma once
// File > Open: a picture file replaces the picture, at the canvas's top-left
// corner with white beyond it. A file dropped on the window, or named at
// start, is opened the same way.

#include <optional>
#include <string>

#include "editor/editor.h"
#include "platform/files/picture_file.h"

namespace kalidor {

constexpr const char* kOpenFilter =
    "Picture (*.bmp;*.ico;*.gif;*.jpg)|*.bmp;*.ico;*.gif;*.jpg|Bitmap (*.bmp;*.ico)|*.bmp;*.ico|"
    "Giff-files (*.gif)|*.gif|Jpeg-files (*.jpg)|*.jpg|All files (*.*)|*.*|PNG image (*.png)|*.png";

void mnuOpen_Click(Editor& e);

// Opens the file as one step of the history, or says why not and keeps the
// drawing; true where it opened.
bool openPictureFile(Editor& e, const std::string& fileName);

// The picture replaces the picture as one step of the history; a picture of
// its own size takes the new one's size, shown whole.
void replacePicture(Editor& e, const Picture& picture);

// How much of a picture the canvas can show, on the largest screen: Open and
// Paste read no more.
LoadLimits shownPart(const Editor& e);
// Why a picture read cannot replace a picture of its own size: more than
// it may have a side. Nothing where it can.
std::optional<std::string> beyondOwnSize(const Editor& e, const LoadedPicture& loaded);
// Why a picture could not be read, in words that end a sentence.
std::string whyUnread(const LoadedPicture& loaded);

}  // namespace kalidor
