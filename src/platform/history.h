#pragma once
// The picture's history: what drawing did, step by step, to be undone and redone.
// The editor marks where a step begins and ends, and says what the step is; the
// surface records the pixels.

namespace kalidor {

// What a step does to the picture, which says how it is best kept: a stroke by
// the tiles it writes, New and Open by the picture they replace, Invert by the
// rectangle inverted again.
enum class StepKind {
    Stroke,
    New,
    Open,
    Invert,
};

class History {
public:
    virtual ~History() = default;

    // Everything drawn from here to `EndStep` is one step. A step that changed
    // no pixel is no step. Drawing outside a step makes a stroke of its own.
    virtual void BeginStep(StepKind kind = StepKind::Stroke) = 0;
    virtual void EndStep() = 0;

    // Undoes the last step, or redoes the last undone one; false where there is
    // none. A new step drops every undone one.
    virtual bool Undo() = 0;
    virtual bool Redo() = 0;
    virtual bool CanUndo() const = 0;
    virtual bool CanRedo() const = 0;

    // A number for the picture as it now is: every step gives a new one, and
    // undoing or redoing back to a picture gives its number again.
    virtual long long PictureState() const = 0;
};

}  // namespace kalidor
