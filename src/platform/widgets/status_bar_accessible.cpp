#include "platform/widgets/status_bar_accessible.h"

#include <vector>

#include <QAccessibleWidget>

#include "platform/widgets/status_bar_widget.h"

namespace kalidor {

namespace {

class PanelAccessible : public QAccessibleInterface {
public:
    PanelAccessible(StatusBarWidget* bar, QAccessibleInterface* parent, int panel)
        : bar_(bar), parent_(parent), panel_(panel)
    {
    }

    bool isValid() const override { return bar_ != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent_->window(); }
    QAccessibleInterface* parent() const override { return parent_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !bar_->isVisible();
        return s;
    }
    QRect rect() const override
    {
        const QRect r = bar_->panelRect(panel_);
        return QRect(bar_->mapToGlobal(r.topLeft()), r.size());
    }
    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: {
            // What the panel shows, after what it is, as a screen reader reads it.
            const QString name = QString::fromStdString(bar_->panelName(panel_));
            const QString shown = QString::fromStdString(bar_->panelText(panel_));
            return name.isEmpty() ? shown : shown.isEmpty() ? name : name + ": " + shown;
        }
        case QAccessible::Value:
            return QString::fromStdString(bar_->panelText(panel_));
        case QAccessible::Description:
            return QString::fromStdString(bar_->panelToolTip(panel_));
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

private:
    StatusBarWidget* bar_;
    QAccessibleInterface* parent_;
    int panel_;
};

class StatusBarAccessible : public QAccessibleWidget {
public:
    explicit StatusBarAccessible(StatusBarWidget* bar) : QAccessibleWidget(bar, QAccessible::StatusBar, "Status bar")
    {
        for (int i = 1; i <= bar->panelCount(); ++i) {
            panels_.push_back(new PanelAccessible(bar, this, i));
            // Qt's cache owns it from now on; it goes with the bar.
            ids_.push_back(QAccessible::registerAccessibleInterface(panels_.back()));
        }
    }
    ~StatusBarAccessible() override
    {
        for (const QAccessible::Id id : ids_)
            if (QAccessible::accessibleInterface(id))
                QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return static_cast<int>(panels_.size()); }
    QAccessibleInterface* child(int index) const override
    {
        return index >= 0 && index < childCount() ? panels_[static_cast<std::size_t>(index)] : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (std::size_t i = 0; i < panels_.size(); ++i)
            if (panels_[i] == child)
                return static_cast<int>(i);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (QAccessibleInterface* panel : panels_)
            if (panel->rect().contains(x, y))
                return panel;
        return nullptr;
    }

private:
    std::vector<QAccessibleInterface*> panels_;
    std::vector<QAccessible::Id> ids_;
};

QAccessibleInterface* statusBarFactory(const QString&, QObject* object)
{
    if (auto* bar = qobject_cast<StatusBarWidget*>(object))
        return new StatusBarAccessible(bar);
    return nullptr;
}

}  // namespace

void installStatusBarAccessibility()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(statusBarFactory);
        installed = true;
    }
}

}  // namespace kalidor
