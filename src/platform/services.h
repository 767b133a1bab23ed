#pragma once
// The window services the editor asks of the desktop: the modal dialogs and the
// clock. The program gets Qt's (platform/widgets/qt_services.h); a test gives
// its own answers instead of a person's.

#include <optional>
#include <string>

#include "platform/colour.h"
#include "platform/files/picture_file.h"

namespace kalidor {

enum class FileDialogKind { Open, Save };

// A file the user chose: its full name, and which of the dialog's filter
// entries was chosen with it (0 the first).
struct FileChoice {
    std::string name;
    int filter = 0;
};

// A size for the picture, or that it follows the window.
struct SizeChoice {
    int width = 0;
    int height = 0;
    bool followsWindow = false;
};

// The answers to "Save changes to the picture?".
enum class SaveChoice { Save, Discard, Cancel };

// The answers to the offer of a recovery copy at start-up; closing the question
// without an answer keeps the copy for a later start.
enum class RestoreChoice { Restore, Discard, Later };

class Services {
public:
    virtual ~Services() = default;

    // The chosen file, or nothing when the user cancelled. A filter lists
    // description and pattern pairs, every item separated by "|" and several
    // patterns within one item by ";": "Bitmap (*.bmp)|*.bmp".
    virtual std::optional<FileChoice> ShowFile(FileDialogKind kind, const std::string& filter) = 0;
    std::optional<std::string> ShowOpen(const std::string& filter)
    {
        const std::optional<FileChoice> choice = ShowFile(FileDialogKind::Open, filter);
        return choice ? std::optional<std::string>(choice->name) : std::nullopt;
    }
    std::optional<FileChoice> ShowSave(const std::string& filter) { return ShowFile(FileDialogKind::Save, filter); }

    // Tells the user something went wrong, and waits until it has been read.
    virtual void ShowMessage(const std::string& text) = 0;

    // The colour the user confirmed, starting from `initial`, or nothing when
    // the user cancelled.
    virtual std::optional<Colour> ShowColor(Colour initial) = 0;

    // Asks whether to save the changed picture before the window closes.
    virtual SaveChoice AskSaveChanges() = 0;

    // Offers a recovery copy with the question given: Restore (the default),
    // or Discard.
    virtual RestoreChoice AskRestore(const std::string& question) = 0;

    // The clipboard: puts a picture there for other programs; the picture
    // there now, read as Open reads a file (NotAPicture where it holds none).
    virtual void CopyPicture(const Picture& picture) = 0;
    virtual LoadedPicture PastePicture(LoadLimits limits) = 0;

    // The size the user accepted, starting from `current`, or nothing when
    // the user cancelled; each side within 1 .. `largest`.
    virtual std::optional<SizeChoice> AskSize(SizeChoice current, int largest) = 0;

    // Seconds since local midnight, which seed the palette's random colours.
    virtual float Timer() = 0;
};

}  // namespace kalidor
