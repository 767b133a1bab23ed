#include "platform/widgets/controls.h"

#include <cmath>

#include <QAbstractButton>
#include <QCursor>
#include <QLabel>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QProxyStyle>
#include <QSlider>

#include "platform/widgets/marker_widget.h"
#include "platform/widgets/status_bar_widget.h"
#include "platform/widgets/surface_widget.h"
#include "platform/widgets/well_widget.h"

namespace kalidor {

Control::Control(QWidget* widget, int originX, int originY)
    : widget_(widget), originX_(originX), originY_(originY)
{
}

bool Control::Visible() const { return !widget_->isHidden(); }
void Control::SetVisible(bool visible) { widget_->setVisible(visible); }
int Control::Left() const { return widget_->x() - originX_; }
int Control::Top() const { return widget_->y() - originY_; }
void Control::SetLeft(int left) { widget_->move(left + originX_, widget_->y()); }
int Control::Width() const { return widget_->width(); }
int Control::Height() const { return widget_->height(); }
void Control::SetToolTip(const std::string& text) { widget_->setToolTip(QString::fromStdString(text)); }

void Control::SetAccessibleName(const std::string& name, const std::string& description)
{
    widget_->setAccessibleName(QString::fromStdString(name));
    if (!description.empty())
        SetAccessibleDescription(description);
}

void Control::SetAccessibleDescription(const std::string& description)
{
    widget_->setAccessibleDescription(QString::fromStdString(description));
}

std::string describeColour(Colour c)
{
    return QString::asprintf("#%02X%02X%02X (red %d, green %d, blue %d)", red(c), green(c), blue(c), red(c), green(c),
                             blue(c))
        .toStdString();
}

void Control::Move(int left, int top) { widget_->move(left + originX_, top + originY_); }

void Control::Move(int left, int top, int width, int height)
{
    if (width < 0 || height < 0)
        throw MoveError("a control cannot have a negative size");
    widget_->setGeometry(left + originX_, top + originY_, width, height);
}

CheckBox::CheckBox(QAbstractButton* button) : Control(button), button_(button) {}

int16 CheckBox::Value() const { return button_->isChecked() ? 1 : 0; }

void CheckBox::SetValue(int16 value) { button_->setChecked(value != 0); }

void CheckBox::OnClick(std::function<void()> handler)
{
    // toggled is emitted synchronously for a user's click and for SetValue alike.
    QObject::connect(button_, &QAbstractButton::toggled, button_, [h = std::move(handler)](bool) { h(); });
}

OptionButton::OptionButton(QAbstractButton* button) : Control(button), button_(button) {}

bool OptionButton::Selected() const { return button_->isChecked(); }

void OptionButton::OnClick(std::function<void()> handler)
{
    QObject::connect(button_, &QAbstractButton::toggled, button_, [h = std::move(handler)](bool on) {
        if (on)
            h();
    });
}

CommandButton::CommandButton(QAbstractButton* button) : Control(button), button_(button) {}

void CommandButton::OnClick(std::function<void()> handler)
{
    QObject::connect(button_, &QAbstractButton::clicked, button_, [h = std::move(handler)](bool) { h(); });
}

Slider::Slider(QSlider* slider) : Control(slider), slider_(slider) {}

int Slider::Value() const { return slider_->value(); }
int Slider::Max() const { return slider_->maximum(); }

void Slider::OnScroll(std::function<void()> handler)
{
    QObject::connect(slider_, &QSlider::valueChanged, slider_, [h = std::move(handler)](int) { h(); });
}

Label::Label(QLabel* label) : Control(label), label_(label) {}

std::string Label::Caption() const { return label_->text().toStdString(); }
void Label::SetCaption(const std::string& text) { label_->setText(QString::fromStdString(text)); }

Well::Well(WellWidget* well) : Control(well), well_(well) {}

Colour Well::BackColor() const { return well_->colour(); }
void Well::SetBackColor(Colour c) { well_->setColour(c); }
void Well::OnClick(std::function<void()> handler) { well_->onClick = std::move(handler); }

StatusBar::StatusBar(StatusBarWidget* bar) : Control(bar), bar_(bar) {}

std::string StatusBar::PanelText(int panel) const { return bar_->panelText(panel); }
void StatusBar::SetPanelText(int panel, const std::string& text) { bar_->setPanelText(panel, text); }
void StatusBar::SetPanelToolTip(int panel, const std::string& text) { bar_->setPanelToolTip(panel, text); }
void StatusBar::SetPanelName(int panel, const std::string& name) { bar_->setPanelName(panel, name); }
void StatusBar::OnMouseDown(std::function<void(const MouseArgs&)> handler)
{
    bar_->onMouseDown = std::move(handler);
}

Marker::Marker(MarkerWidget* marker, SurfaceWidget* canvas) : Control(marker), marker_(marker), canvas_(canvas) {}

QPoint Marker::place() const { return marker_->place(); }

int Marker::Left() const { return place().x(); }
int Marker::Top() const { return place().y(); }

void Marker::Move(int left, int top) { marker_->placeAt(QPoint(left, top)); }

std::pair<float, float> Marker::PictureAt(float x, float y) const
{
    const QPointF at = canvas_->pointerAt(QPointF(marker_->pos()) + QPointF(x, y) / kTwipsPerPixel);
    return {static_cast<float>(at.x()), static_cast<float>(at.y())};
}

void Marker::OnMouseMove(std::function<void(const MouseArgs&)> handler)
{
    marker_->onMouseMove = std::move(handler);
}

Menu::Menu(QMenu* menu) : menu_(menu) {}

void Menu::PopupMenu() { menu_->popup(QCursor::pos()); }

bool Menu::showing() const { return menu_->isVisible(); }

void Menu::SetEnabled(int index, bool enabled) { menu_->actions().at(index)->setEnabled(enabled); }

bool Menu::Enabled(int index) const { return menu_->actions().at(index)->isEnabled(); }

void Menu::SetCheckable(int index) { menu_->actions().at(index)->setCheckable(true); }

namespace {

// A menu's icons at a size of its own, not the style's small icons.
class MenuIconStyle : public QProxyStyle {
public:
    explicit MenuIconStyle(int size) : size_(size) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_SmallIconSize)
            return size_;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    int size_;
};

}  // namespace

void Menu::SetIcon(int index, const Picture& picture, int size)
{
    if (!menu_->property("iconSize").isValid()) {
        auto* style = new MenuIconStyle(size);
        style->setParent(menu_);
        menu_->setStyle(style);
        menu_->setProperty("iconSize", size);
    }
    menu_->actions().at(index)->setIcon(QIcon(QPixmap::fromImage(picture.image())));
}

void Menu::SetChecked(int index, bool checked) { menu_->actions().at(index)->setChecked(checked); }

bool Menu::Checked(int index) const { return menu_->actions().at(index)->isChecked(); }

void Menu::SetToolTip(int index, const std::string& text)
{
    menu_->actions().at(index)->setToolTip(QString::fromStdString(text));
    menu_->setToolTipsVisible(true);  // only items given a tooltip show one
}

void Menu::OnItem(int index, std::function<void()> handler)
{
    QAction* action = menu_->actions().at(index);
    QObject::connect(action, &QAction::triggered, menu_, [h = std::move(handler)](bool) { h(); });
}

}  // namespace kalidor

namespace kalidor {

PictureBox::PictureBox(SurfaceWidget* box) : Control(box), box_(box) {}

Surface& PictureBox::surface() const { return box_->surface(); }

void PictureBox::SetGuides(std::vector<Segment> guides) { box_->setGuides(std::move(guides)); }

void PictureBox::SetPreview(OverlayLines preview) { box_->setOverlay(OverlayLayer::Preview, std::move(preview)); }

void PictureBox::SetToolCursor(CanvasCursor cursor) { box_->setToolCursor(cursor); }
Surface& PictureBox::BeginPreview() { return box_->beginPreview(); }
void PictureBox::ShowPreview(Colour colour) { box_->showPreview(colour); }
void PictureBox::HidePreview() { box_->hidePreview(); }
bool PictureBox::PreviewCovers(int x, int y) const { return box_->preview().covers(x, y); }

void PictureBox::Move(int left, int top, int width, int height)
{
    Control::Move(left, top, width, height);
    // A hidden widget gets its resize event only when shown; the surface's size
    // must follow at once (a picture of the box's own with it).
    box_->surface().setOuterSize(width, height);
}

void PictureBox::ZoomBy(int steps) { box_->zoomBy(steps); }
void PictureBox::FitView() { box_->fitView(); }
void PictureBox::ActualSize() { box_->actualSize(); }
double PictureBox::Zoom() const { return box_->view().scale; }
void PictureBox::OnViewChanged(std::function<void()> handler) { box_->onViewChanged = std::move(handler); }

void PictureBox::OnMouseDown(std::function<void(const MouseArgs&)> handler)
{
    box_->onMouseDown = std::move(handler);
}

void PictureBox::OnMouseMove(std::function<void(const MouseArgs&)> handler)
{
    box_->onMouseMove = std::move(handler);
}

void PictureBox::OnMouseUp(std::function<void(const MouseArgs&)> handler)
{
    box_->onMouseUp = std::move(handler);
}

void PictureBox::OnDragOver(std::function<void(DragSource, float, float)> handler)
{
    box_->onDragOver = std::move(handler);
}

void PictureBox::OnDragDrop(std::function<void(DragSource, float, float)> handler)
{
    box_->onDragDrop = std::move(handler);
}

}  // namespace kalidor
