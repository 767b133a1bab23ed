#include "picture/undo_redo.h"

namespace kalidor {

void EditUndo(Editor& e)
{
    if (!e.stroking)
        e.ui.pbHistory->Undo();
}

void EditRedo(Editor& e)
{
    if (!e.stroking)
        e.ui.pbHistory->Redo();
}

void showEditMenu(Editor& e)
{
    const bool idle = !e.stroking;
    e.ui.mnuEdit.SetEnabled(0, idle && e.ui.pbHistory->CanUndo());
    e.ui.mnuEdit.SetEnabled(1, idle && e.ui.pbHistory->CanRedo());
    e.ui.mnuEdit.SetChecked(2, e.mirror);
    // Under a group other than p1, Pattern draws the group's own operations.
    e.ui.mnuEdit.SetEnabled(2, drawingMode(e.st) != kPattern || e.group == 0);
    e.ui.mnuEdit.SetChecked(3, e.guides);
    e.ui.mnuEdit.SetChecked(kEditFill, e.fill);
    e.ui.mnuEdit.SetChecked(kEditLine, e.shape == ShapeKind::Line);
    e.ui.mnuEdit.SetChecked(kEditCircle, e.shape == ShapeKind::Circle);
    // Not while a shape is being drawn.
    e.ui.mnuEdit.SetEnabled(kEditLine, !e.shapeDrag.active);
    e.ui.mnuEdit.SetEnabled(kEditCircle, !e.shapeDrag.active);
    e.ui.mnuEdit.SetChecked(kEditOff, e.steadiness == Steadiness::Off);
    e.ui.mnuEdit.SetChecked(kEditLight, e.steadiness == Steadiness::Light);
    e.ui.mnuEdit.SetChecked(kEditStrong, e.steadiness == Steadiness::Strong);
    e.ui.mnuEdit.SetChecked(kEditSmooth, e.smoothLines);
    for (int level = 0; level <= kEditHigh - kEditExact; ++level)
        e.ui.mnuEdit.SetChecked(kEditExact + level, e.fillTolerance == level);
}

}  // namespace kalidor
