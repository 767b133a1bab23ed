#pragma once
// The window services answered by the test instead of a person: file and colour
// dialogs give the scripted answer at once (Cancel unless told otherwise), the
// messages are collected, and the clock says what the test wants.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QTime>

#include "editor/editor.h"
#include "platform/services.h"
#include "platform/widgets/clipboard.h"

namespace kalidor::test {

struct ScriptedServices : Services {
    std::function<std::optional<std::string>(FileDialogKind, const std::string& filter)> fileAnswer =
        [](FileDialogKind, const std::string&) { return std::optional<std::string>(); };
    std::function<std::optional<Colour>(Colour initial)> colourAnswer = [](Colour) {
        return std::optional<Colour>();
    };
    std::function<float()> clock = [] {
        return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
    };
    std::vector<std::string> messages;
    // The answers to the close question, first to last; Cancel when none is left.
    std::vector<SaveChoice> saveChoices;
    int saveQuestions = 0;
    // The answers to the offers of recovery copies, first to last; Later when
    // none is left. The questions asked are kept.
    std::vector<RestoreChoice> restoreChoices;
    std::vector<std::string> restoreQuestions;

    // The answer to the size dialog, given what it starts from; Cancel unless told.
    std::function<std::optional<SizeChoice>(SizeChoice current)> sizeAnswer = [](SizeChoice) {
        return std::optional<SizeChoice>();
    };

    // The filter entry the scripted answer is chosen with.
    int fileFilter = 0;

    std::optional<FileChoice> ShowFile(FileDialogKind kind, const std::string& filter) override
    {
        const std::optional<std::string> name = fileAnswer(kind, filter);
        return name ? std::optional<FileChoice>(FileChoice{*name, fileFilter}) : std::nullopt;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::optional<Colour> ShowColor(Colour initial) override { return colourAnswer(initial); }
    SaveChoice AskSaveChanges() override
    {
        ++saveQuestions;
        if (saveChoices.empty())
            return SaveChoice::Cancel;
        const SaveChoice choice = saveChoices.front();
        saveChoices.erase(saveChoices.begin());
        return choice;
    }
    RestoreChoice AskRestore(const std::string& question) override
    {
        restoreQuestions.push_back(question);
        if (restoreChoices.empty())
            return RestoreChoice::Later;
        const RestoreChoice choice = restoreChoices.front();
        restoreChoices.erase(restoreChoices.begin());
        return choice;
    }
    // The offscreen platform's own clipboard, as the program uses it.
    void CopyPicture(const Picture& picture) override { copyPictureToClipboard(picture); }
    LoadedPicture PastePicture(LoadLimits limits) override { return pictureOnClipboard(limits); }
    std::optional<SizeChoice> AskSize(SizeChoice current, int) override { return sizeAnswer(current); }
    float Timer() override { return clock(); }
};

// The scripted services of a window the tests opened.
inline ScriptedServices& scripted(Editor& e) { return static_cast<ScriptedServices&>(*e.services); }

}  // namespace kalidor::test
