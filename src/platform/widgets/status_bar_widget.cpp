#include "platform/widgets/status_bar_widget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "platform/widgets/qt_input.h"
#include "platform/widgets/status_bar_accessible.h"

namespace kalidor {

StatusBarWidget::StatusBarWidget(QWidget* parent, std::vector<int> panelWidths, int height)
    : QWidget(parent), widths_(std::move(panelWidths)), texts_(widths_.size()), tips_(widths_.size()),
      names_(widths_.size())
{
    installStatusBarAccessibility();
    resize(parent ? parent->width() : 0, height);
}

QRect StatusBarWidget::panelRect(int panel) const
{
    int x = 0;
    for (int i = 1; i < panel; ++i)
        x += widths_[static_cast<std::size_t>(i - 1)];
    return QRect(x, 0, widths_[static_cast<std::size_t>(panel - 1)], height());
}

void StatusBarWidget::setPanelText(int panel, const std::string& text)
{
    auto& slot = texts_.at(static_cast<std::size_t>(panel - 1));
    if (slot == text)
        return;
    slot = text;
    update(panelRect(panel));

}

std::string StatusBarWidget::panelText(int panel) const
{
    return texts_.at(static_cast<std::size_t>(panel - 1));
}

void StatusBarWidget::setPanelToolTip(int panel, const std::string& text)
{
    tips_.at(static_cast<std::size_t>(panel - 1)) = text;
}

std::string StatusBarWidget::panelToolTip(int panel) const { return tips_.at(static_cast<std::size_t>(panel - 1)); }

void StatusBarWidget::setPanelName(int panel, const std::string& name)
{
    names_.at(static_cast<std::size_t>(panel - 1)) = name;
}

std::string StatusBarWidget::panelName(int panel) const { return names_.at(static_cast<std::size_t>(panel - 1)); }

bool StatusBarWidget::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    for (int i = 1; i <= static_cast<int>(widths_.size()); ++i) {
        const std::string& tip = tips_[static_cast<std::size_t>(i - 1)];
        if (panelRect(i).contains(help->pos()) && !tip.empty()) {
            QToolTip::showText(help->globalPos(), QString::fromStdString(tip), this, panelRect(i));
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void StatusBarWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    for (int i = 1; i <= static_cast<int>(widths_.size()); ++i) {
        const QRect r = panelRect(i).adjusted(1, 2, -1, 0);
        // A sunken panel: dark above and left, light below and right.
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        p.setPen(palette().color(QPalette::WindowText));
        // A text too long for its panel ends in an ellipsis; its accessible name has it whole.
        const QRect textArea = r.adjusted(3, 0, -2, 0);
        const QString text = QString::fromStdString(texts_[static_cast<std::size_t>(i - 1)]);
        p.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft,
                   p.fontMetrics().elidedText(text, Qt::ElideRight, textArea.width()));
    }
}

void StatusBarWidget::mousePressEvent(QMouseEvent* event)
{
    if (onMouseDown)
        onMouseDown(mouseArgs(*event, buttonBits(event->button()), event->position(), kTwipsPerPixel));
}

}  // namespace kalidor
