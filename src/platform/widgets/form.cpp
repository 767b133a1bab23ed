#include "platform/widgets/form.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QWindow>

#include "platform/widgets/marker_widget.h"
#include "platform/widgets/qt_input.h"
#include "platform/widgets/scrolling_column.h"
#include "platform/widgets/status_bar_widget.h"
#include "platform/widgets/surface_widget.h"
#include "platform/widgets/well_widget.h"

namespace kalidor {

class FormWidget : public QWidget {
public:
    FormWidget(int width, int height)
        : surface_(width, height, 0, fromPixel(QApplication::palette().color(QPalette::Window).rgb()))
    {
        resize(width, height);
        setAttribute(Qt::WA_OpaquePaintEvent);
        surface_.setChangedHandler([this](const QRegion& r) {
            update(r);
            if (column && column->offset() != 0)
                update(r.translated(0, -column->offset()));
        });
        qApp->installEventFilter(this);
        setAcceptDrops(true);
    }

    ~FormWidget() override { qApp->removeEventFilter(this); }

    RasterSurface& surface() { return surface_; }

    std::function<void()> onResize;
    std::function<void()> onShown;
    std::function<void(int16, int16)> onKeyDown;
    std::function<bool()> onQueryClose;
    std::function<void(const std::vector<std::string>&)> onFilesDropped;
    std::vector<StatusBarWidget*> docked;
    ScrollingColumn* column = nullptr;

    // Places what follows the window's size: the surface, the docked bars and
    // the column.
    void arrange()
    {
        // The event's own size can lag behind the window's (seen with a window
        // maximised as it is shown under X11); the current size is what counts.
        // Lower than the column, it still keeps what is drawn beside it.
        surface_.setOuterSize(width(), std::max(height(), column ? column->height() : 0));
        int bottom = height();
        for (StatusBarWidget* bar : docked) {
            bar->setGeometry(0, height() - bar->height(), width(), bar->height());
            bottom = std::min(bottom, bar->y());
        }
        if (column)
            column->fit(bottom);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        // What is drawn on the window beside the column's controls scrolls with them.
        const QRect shown = column ? column->shownArea() : QRect();
        const int offset = column ? column->offset() : 0;
        for (const QRect& piece : event->region()) {
            const QRect r = piece & QRect(0, 0, width(), height());
            for (const QRect& part : QRegion(r) - shown)
                p.drawImage(part.topLeft(), surface_.backing(), part);
            if (const QRect inColumn = r & shown; !inColumn.isEmpty())
                p.drawImage(inColumn.topLeft(), surface_.backing(), inColumn.translated(0, offset));
        }
    }

    void resizeEvent(QResizeEvent*) override
    {
        arrange();
        if (onResize)
            onResize();
    }

    // Files dragged from a file manager, anywhere over the window.
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (onFilesDropped && !localFiles(event->mimeData()).empty())
            event->acceptProposedAction();
    }

    void dropEvent(QDropEvent* event) override
    {
        const std::vector<std::string> files = localFiles(event->mimeData());
        if (!onFilesDropped || files.empty())
            return;
        event->acceptProposedAction();
        // After the drop is finished: a message box inside it would hold the
        // file manager's drag until it is answered.
        QMetaObject::invokeMethod(this, [this, files] { onFilesDropped(files); }, Qt::QueuedConnection);
    }

    static std::vector<std::string> localFiles(const QMimeData* data)
    {
        std::vector<std::string> files;
        if (data != nullptr)
            for (const QUrl& url : data->urls())
                if (url.isLocalFile())
                    files.push_back(url.toLocalFile().toStdString());
        return files;
    }

    void closeEvent(QCloseEvent* event) override
    {
        if (onQueryClose && !onQueryClose())
            event->ignore();
        else
            event->accept();
    }

    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::WindowStateChange && onResize)
            onResize();
        QWidget::changeEvent(event);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The first exposure comes after the window system has given the window
        // its first size (maximised, where a window manager does that), and
        // whether or not the window gets the focus: many window managers do not
        // focus a window started from a terminal, and a bare X server never does.
        // It comes before the first paint, so the palette shows filled from the
        // start. Being shown again after a minimise, or activated, starts nothing.
        if (event->type() == QEvent::Expose && !shown_ && watched == windowHandle() && windowHandle()->isExposed()) {
            shown_ = true;
            if (onShown)
                onShown();
        }
        // A key goes first to the focus widget and then, if unused, up through its
        // parents; the window hears it once, on its first delivery.
        if (event->type() == QEvent::KeyPress && onKeyDown) {
            auto* w = qobject_cast<QWidget*>(watched);
            QWidget* focus = QApplication::focusWidget();
            const bool first = focus ? w == focus : w == this;
            if (w && first && w->window() == this) {
                auto* key = static_cast<QKeyEvent*>(event);
                onKeyDown(virtualKey(key->key()), shiftBits(key->modifiers()));
            }
        }
        return false;
    }

private:
    RasterSurface surface_;
    bool shown_ = false;
};

namespace {

QWidget* in(QWidget* container, FormWidget* window) { return container ? container : window; }

void place(QWidget* w, Place p) { w->setGeometry(p.left, p.top, p.width, p.height); }

// Buttons are reached with Tab but a click leaves the focus where it was, so
// that the arrow keys go on nudging the control point after a mode is chosen
// instead of stepping through the mode buttons.
void keepFocusOnClick(QAbstractButton* b) { b->setFocusPolicy(Qt::TabFocus); }

}  // namespace

Form::Form(const std::string& caption, int clientWidth, int clientHeight)
    : window_(new FormWidget(clientWidth, clientHeight))
{
    window_->setWindowTitle(QString::fromStdString(caption));
}

Form::~Form() { delete window_; }

Control Form::addFrame(QWidget* container, Place p, const std::string& caption)
{
    auto* frame = new QGroupBox(QString::fromStdString(caption), in(container, window_));
    place(frame, p);
    return Control(frame);
}

OptionButton Form::addOptionButton(QWidget* container, Place p, const std::string& text, bool selected)
{
    auto* button = new QRadioButton(QString::fromStdString(text), in(container, window_));
    place(button, p);
    keepFocusOnClick(button);
    button->setChecked(selected);
    return OptionButton(button);
}

CheckBox Form::addCheckBox(QWidget* container, Place p, const std::string& text, bool checked, bool pushLike)
{
    QAbstractButton* box = nullptr;
    if (pushLike) {
        box = new QPushButton(QString::fromStdString(text), in(container, window_));
        box->setCheckable(true);
    } else {
        box = new QCheckBox(QString::fromStdString(text), in(container, window_));
    }
    place(box, p);
    keepFocusOnClick(box);
    box->setChecked(checked);
    return CheckBox(box);
}

CommandButton Form::addCommandButton(QWidget* container, Place p, const std::string& text)
{
    auto* button = new QPushButton(QString::fromStdString(text), in(container, window_));
    place(button, p);
    keepFocusOnClick(button);
    return CommandButton(button);
}

Slider Form::addSlider(QWidget* container, Place p, int min, int max, int value, int largeChange,
                       int smallChange)
{
    auto* slider = new QSlider(Qt::Horizontal, in(container, window_));
    place(slider, p);
    slider->setRange(min, max);
    slider->setValue(value);
    slider->setPageStep(largeChange);
    slider->setSingleStep(smallChange);
    return Slider(slider);
}

Label Form::addLabel(QWidget* container, Place p, const std::string& text)
{
    auto* label = new QLabel(QString::fromStdString(text), in(container, window_));
    place(label, p);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return Label(label);
}

Well Form::addWell(Place p, Colour colour)
{
    auto* well = new WellWidget(window_, colour);
    place(well, p);
    return Well(well);
}

PictureBox Form::addPictureBox(Place p, int border, Colour back)
{
    auto* box = new SurfaceWidget(window_, p.width, p.height, border, back);
    box->move(p.left, p.top);
    return PictureBox(box);
}

PictureBox Form::addPictureBox(Place p, int border, PictureDocument& picture)
{
    auto* box = new SurfaceWidget(window_, p.width, p.height, border, picture);
    box->move(p.left, p.top);
    return PictureBox(box);
}

Marker Form::addMarker(const PictureBox& canvas, Place p)
{
    auto* marker = new MarkerWidget(canvas.box(), p.width);
    Marker m(marker, canvas.box());
    m.Move(p.left, p.top);
    return m;
}

StatusBar Form::addStatusBar(std::vector<int> panelWidths, int height)
{
    auto* bar = new StatusBarWidget(window_, std::move(panelWidths), height);
    bar->setGeometry(0, window_->height() - height, window_->width(), height);
    window_->docked.push_back(bar);
    return StatusBar(bar);
}

Menu Form::addMenu(const std::string& caption, const std::vector<MenuItem>& items)
{
    auto* menu = new QMenu(QString::fromStdString(caption), window_);
    for (const MenuItem& item : items) {
        QAction* action = menu->addAction(QString::fromStdString(item.caption));
        if (item.keys.empty())
            continue;
        action->setShortcut(QKeySequence(QString::fromStdString(item.keys), QKeySequence::PortableText));
        // Held down, the keys must not open the dialog again each time it closes.
        action->setAutoRepeat(false);
        // The window's own action too, so that the keys work while the menu is
        // hidden, whichever control has the focus.
        window_->addAction(action);
    }
    return Menu(menu);
}

Surface& Form::surface() { return window_->surface(); }

Colour Form::windowBackground() const
{
    return fromPixel(QApplication::palette().color(QPalette::Base).rgb());
}
float Form::ScaleWidth() const { return static_cast<float>(window_->width()); }
float Form::ScaleHeight() const { return static_cast<float>(window_->height()); }

namespace {

QSize largestScreen()
{
    QSize largest;
    for (const QScreen* screen : QGuiApplication::screens())
        largest = largest.expandedTo(screen->availableGeometry().size());
    return largest;
}

}  // namespace

float Form::ScreenWidth() const { return static_cast<float>(largestScreen().width()); }
float Form::ScreenHeight() const { return static_cast<float>(largestScreen().height()); }

int Form::WindowState() const
{
    if (window_->isMinimized())
        return kMinimisedWindow;
    if (window_->isMaximized())
        return kMaximisedWindow;
    return kNormalWindow;
}

void Form::setIcon(const char* const* xpm) { window_->setWindowIcon(QIcon(QPixmap(xpm))); }

void Form::setColumn(int width, int height, const std::vector<QWidget*>& members)
{
    window_->column = new ScrollingColumn(window_, width, height, members);
    window_->arrange();
}

int Form::columnOffset() const { return window_->column ? window_->column->offset() : 0; }

void Form::setTabOrder(const std::vector<QWidget*>& order)
{
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form::setFocus(QWidget* widget) { widget->setFocus(Qt::OtherFocusReason); }

void Form::OnResize(std::function<void()> handler) { window_->onResize = std::move(handler); }
void Form::OnShown(std::function<void()> handler) { window_->onShown = std::move(handler); }
void Form::OnKeyDown(std::function<void(int16, int16)> handler) { window_->onKeyDown = std::move(handler); }
void Form::OnQueryClose(std::function<bool()> handler) { window_->onQueryClose = std::move(handler); }

void Form::OnFilesDropped(std::function<void(const std::vector<std::string>&)> handler)
{
    window_->onFilesDropped = std::move(handler);
}

void Form::showMaximised() { window_->showMaximized(); }

void Form::later(std::function<void()> job)
{
    QMetaObject::invokeMethod(window_, std::move(job), Qt::QueuedConnection);
}

QWidget* Form::widget() const { return window_; }

}  // namespace kalidor
