#include "app/main_window.h"

#include "app/event_boundary.h"
#include "app/kalidor_icon.h"
#include "app/layout.h"
#include "app/mode_switch.h"
#include "app/startup.h"
#include "colour/colour_pick.h"
#include "colour/colour_well.h"
#include "colour/palette.h"
#include "colour/pen_width.h"
#include "draw/canvas_input.h"
#include "draw/centric.h"
#include "draw/control_point.h"
#include "draw/keys.h"
#include "picture/invert.h"
#include "picture/new_picture.h"
#include "picture/open_picture.h"
#include "picture/save_picture.h"

namespace kalidor {

MainWindow::MainWindow() : form_(std::make_unique<Form>("Kalidor", kRestoredWidth, kRestoredHeight))
{
    form_->setIcon(kalidor_icon_xpm);
    editor_.ui = createControls(*form_);
    connectHandlers();
}

void MainWindow::connectHandlers()
{
    Editor& e = editor_;
    Controls& ui = e.ui;
    form_->OnResize([&e] { atEventBoundary([&] { Form_Resize(e); }); });
    form_->OnShown([&e] { atEventBoundary([&] { Form_Activate(e); }); });
    form_->OnKeyDown([&e](int16 key, int16 shift) { atEventBoundary([&] { Form_KeyDown(e, key, shift); }); });

    for (int16 i = 0; i < 3; ++i)
        ui.obMode[static_cast<std::size_t>(i)].OnClick([&e, i] { atEventBoundary([&] { obMode_Click(e, i); }); });
    ui.cbCvet.OnClick([&e] { atEventBoundary([&] { cbCvet_Click(e); }); });

    ui.pbBox.OnMouseDown([&e](const MouseArgs& m) { atEventBoundary([&] { pb_MouseDown(e, m); }); });
    ui.pbBox.OnMouseMove([&e](const MouseArgs& m) { atEventBoundary([&] { pb_MouseMove(e, m); }); });
    ui.pbBox.OnDragOver([&e](DragSource s, float x, float y) { atEventBoundary([&] { pb_DragOver(e, s, x, y); }); });
    ui.pbBox.OnDragDrop([&e](DragSource s, float x, float y) { atEventBoundary([&] { pb_DragDrop(e, s, x, y); }); });
    ui.obCP.OnMouseMove([&e](const MouseArgs& m) { atEventBoundary([&] { obCP_MouseMove(e, m); }); });
    ui.cbCenter.OnClick([&e] { atEventBoundary([&] { cbCenter_Click(e); }); });
    ui.cbPattern.OnClick([&e] { atEventBoundary([&] { cbPattern_Click(e); }); });
    ui.slN.OnScroll([&e] { atEventBoundary([&] { slN_Scroll(e); }); });

    ui.pbPalBox.OnMouseDown([&e](const MouseArgs& m) { atEventBoundary([&] { pbPal_MouseDown(e, m); }); });
    for (int16 i = 1; i <= 3; ++i)
        ui.pbColor[static_cast<std::size_t>(i)].OnClick([&e, i] { atEventBoundary([&] { pbColor_Click(e, i); }); });
    ui.slDrawWidth.OnScroll([&e] { atEventBoundary([&] { slDrawWidth_Scroll(e); }); });

    ui.sb.OnMouseDown([&e](const MouseArgs& m) { atEventBoundary([&] { sb_MouseDown(e, m); }); });
    ui.mnuFile.OnItem(0, [&e] { atEventBoundary([&] { mnuNew_Click(e); }); });
    ui.mnuFile.OnItem(1, [&e] { atEventBoundary([&] { mnuOpen_Click(e); }); });
    ui.mnuFile.OnItem(2, [&e] { atEventBoundary([&] { mnuSave_Click(e); }); });
    ui.kInvert.OnClick([&e] { atEventBoundary([&] { kInvert_Click(e); }); });
}

void MainWindow::show()
{
    form_->showMaximised();
}

}  // namespace kalidor
