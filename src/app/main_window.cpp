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
#include "draw/group_choice.h"
#include "draw/wallpaper_groups.h"
#include "draw/fill_tool.h"
#include "draw/keys.h"
#include "draw/press_settings.h"
#include "draw/symmetry_options.h"
#include "picture/clipboard.h"
#include "picture/invert.h"
#include "picture/new_picture.h"
#include "picture/open_picture.h"
#include "picture/picture_size.h"
#include "picture/recovery.h"
#include "picture/recovery_offer.h"
#include "picture/save_picture.h"
#include "picture/save_tile.h"
#include "picture/undo_redo.h"
#include "picture/unsaved_changes.h"
#include "platform/files/recovery_folder.h"
#include "platform/widgets/qt_services.h"

namespace kalidor {

namespace {

// After a notification: a step it finished goes into the recovery copy.
void afterEvent(Editor& e)
{
    if (e.recovery)
        e.recovery->afterEvent();
}

// A notification, then the guides and the canvas's cursor as it left the editor.
template <class Handler>
void handle(Editor& e, Handler&& handler)
{
    atEventBoundary(handler);
    atEventBoundary([&] {
        refreshGuides(e);
        refreshCanvasCursor(e);
        refreshPressSummary(e);
        refreshSaveTile(e);
        refreshZoomReadout(e);
    });
    afterEvent(e);
}

}  // namespace

MainWindow::MainWindow(std::unique_ptr<Services> services, const std::string& recoveryFolder)
    : picture_(std::make_unique<PictureDocument>(0, 0, kWhite)),
      form_(std::make_unique<Form>("Kalidor", kRestoredWidth, kRestoredHeight)), services_(std::move(services))
{
    if (!services_)
        services_ = std::make_unique<QtServices>(form_->widget());
    form_->setIcon(kalidor_icon_xpm);
    picture_->keepHistory();
    editor_.ui = createControls(*form_, *picture_);
    editor_.services = services_.get();
    connectHandlers();
    if (!recoveryFolder.empty())
        keepRecovery(recoveryFolder);
}

MainWindow::~MainWindow()
{
    if (recovery_) {
        picture_->setWriteGate(nullptr);  // the writer goes first
        picture_->forget(recoveryListener_);
    }
}

void MainWindow::keepRecovery(const std::string& folder)
{
    Form* form = form_.get();
    auto writer = std::make_unique<RecoveryWriter>(folder, newRecoverySession(), [this, form](const std::string& why) {
        form->later([this, why] { recovery_->failed(why); });
    });
    // The picture is not written to while the writer copies from it.
    picture_->setWriteGate([w = writer.get()] { w->waitForCopies(); });
    recovery_ = std::make_unique<Recovery>(editor_, picture_->kept(), std::move(writer));
    editor_.recovery = recovery_.get();
    recoveryListener_ = picture_->listen([r = recovery_.get()](const QRegion& area) { r->changed(area); });
    recoveryFolder_ = folder;
}

void MainWindow::openOnShow(const std::string& fileName) { startFile_ = fileName; }

void MainWindow::shown()
{
    Editor& e = editor_;
    // The canvas's designed size, before the window took its own, was never seen.
    picture_->ForgetShown();
    handle(e, [&] { Form_Activate(e); });
    // Shown first: the question stands over the window it restores into. A
    // file named at start opens after it, as a step that Undo takes back.
    if (recovery_)
        form_->later([this, &e] { handle(e, [&] { offerRecoveryCopies(e, *recovery_, recoveryFolder_); }); });
    if (!startFile_.empty())
        form_->later([this, &e] { handle(e, [&] { openPictureFile(e, startFile_); }); });
}

void MainWindow::connectHandlers()
{
    Editor& e = editor_;
    Controls& ui = e.ui;
    form_->OnResize([&e] { handle(e, [&] { Form_Resize(e); }); });
    form_->OnShown([this] { shown(); });
    // Several files: the first, as File > Open would open it.
    form_->OnFilesDropped([&e](const std::vector<std::string>& files) {
        handle(e, [&] {
            if (!e.stroking)
                openPictureFile(e, files.front());
        });
    });
    form_->OnKeyDown([&e](int16 key, int16 shift) { handle(e, [&] { Form_KeyDown(e, key, shift); }); });

    for (int16 i = 0; i < 3; ++i)
        ui.obMode[static_cast<std::size_t>(i)].OnClick([&e, i] { handle(e, [&] { obMode_Click(e, i); }); });
    ui.cbCvet.OnClick([&e] { handle(e, [&] { cbCvet_Click(e); }); });

    ui.pbBox.OnMouseDown([&e](const MouseArgs& m) { handle(e, [&] { pb_MouseDown(e, m); }); });
    ui.pbBox.OnMouseMove([&e](const MouseArgs& m) { handle(e, [&] { pb_MouseMove(e, m); }); });
    ui.pbBox.OnMouseUp([&e](const MouseArgs& m) { handle(e, [&] { pb_MouseUp(e, m); }); });
    ui.pbBox.OnDragOver([&e](DragSource s, float x, float y) { handle(e, [&] { pb_DragOver(e, s, x, y); }); });
    ui.pbBox.OnDragDrop([&e](DragSource s, float x, float y) { handle(e, [&] { pb_DragDrop(e, s, x, y); }); });
    ui.obCP.OnMouseMove([&e](const MouseArgs& m) { handle(e, [&] { obCP_MouseMove(e, m); }); });
    ui.cbCenter.OnClick([&e] { handle(e, [&] { cbCenter_Click(e); }); });
    ui.cbPattern.OnClick([&e] { handle(e, [&] { cbPattern_Click(e); }); });
    ui.slN.OnScroll([&e] { handle(e, [&] { slN_Scroll(e); }); });

    ui.pbPalBox.OnMouseDown([&e](const MouseArgs& m) { handle(e, [&] { pbPal_MouseDown(e, m); }); });
    for (int16 i = 1; i <= 3; ++i)
        ui.pbColor[static_cast<std::size_t>(i)].OnClick([&e, i] { handle(e, [&] { pbColor_Click(e, i); }); });
    ui.slDrawWidth.OnScroll([&e] { handle(e, [&] { slDrawWidth_Scroll(e); }); });

    ui.sb.OnMouseDown([&e](const MouseArgs& m) { handle(e, [&] { sb_MouseDown(e, m); }); });
    ui.pbBox.OnViewChanged([&e] { refreshZoomReadout(e); });
    connectMenus();
    form_->OnQueryClose([&e] {
        bool close = true;
        atEventBoundary([&] { close = Form_QueryUnload(e); });
        if (close && e.recovery)
            e.recovery->closed();
        else
            afterEvent(e);
        return close;
    });
    ui.kInvert.OnClick([&e] {
        atEventBoundary([&] { kInvert_Click(e); });
        afterEvent(e);
    });
}

// The status bar's pop-ups: File, Edit and the Pattern group.
void MainWindow::connectMenus()
{
    Editor& e = editor_;
    Controls& ui = e.ui;
    ui.mnuFile.OnItem(kFileNew, [&e] { handle(e, [&] { mnuNew_Click(e); }); });
    ui.mnuFile.OnItem(kFileOpen, [&e] { handle(e, [&] { mnuOpen_Click(e); }); });
    ui.mnuFile.OnItem(kFileSave, [&e] { handle(e, [&] { mnuSave_Click(e); }); });
    ui.mnuFile.OnItem(kFileSaveTile, [&e] { handle(e, [&] { mnuSaveTile_Click(e); }); });
    ui.mnuFile.OnItem(kFileCopy, [&e] { handle(e, [&] { EditCopy(e); }); });
    ui.mnuFile.OnItem(kFilePaste, [&e] { handle(e, [&] { EditPaste(e); }); });
    ui.mnuFile.OnItem(kFileSize, [&e] { handle(e, [&] { mnuSize_Click(e); }); });
    ui.mnuEdit.OnItem(kEditCopy, [&e] { handle(e, [&] { EditCopy(e); }); });
    ui.mnuEdit.OnItem(kEditPaste, [&e] { handle(e, [&] { EditPaste(e); }); });
    ui.mnuEdit.OnItem(0, [&e] { handle(e, [&] { EditUndo(e); }); });
    ui.mnuEdit.OnItem(1, [&e] { handle(e, [&] { EditRedo(e); }); });
    ui.mnuEdit.OnItem(2, [&e] { handle(e, [&] { toggleMirror(e); }); });
    ui.mnuEdit.OnItem(3, [&e] { handle(e, [&] { toggleGuides(e); }); });
    ui.mnuEdit.OnItem(4, [&e] { handle(e, [&] { toggleFill(e); }); });
    ui.mnuEdit.OnItem(kEditLine, [&e] { handle(e, [&] { chooseShape(e, ShapeKind::Line); }); });
    ui.mnuEdit.OnItem(kEditCircle, [&e] { handle(e, [&] { chooseShape(e, ShapeKind::Circle); }); });
    const Steadiness settings[] = {Steadiness::Off, Steadiness::Light, Steadiness::Strong};
    for (int i = 0; i < 3; ++i)
        ui.mnuEdit.OnItem(kEditOff + i, [&e, s = settings[i]] { handle(e, [&] { e.steadiness = s; }); });
    ui.mnuEdit.OnItem(kEditSmooth, [&e] { handle(e, [&] { e.smoothLines = !e.smoothLines; }); });
    for (int level = 0; level <= kEditHigh - kEditExact; ++level)
        ui.mnuEdit.OnItem(kEditExact + level, [&e, level] { handle(e, [&] { e.fillTolerance = level; }); });
    for (int g = 0; g < kGroupCount; ++g)
        ui.mnuGroup.OnItem(g, [&e, g] { handle(e, [&] { chooseGroup(e, g); }); });
}

void MainWindow::show()
{
    form_->showMaximised();
}

}  // namespace kalidor
