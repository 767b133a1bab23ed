#pragma once
// A status bar of fixed-width panels with texts, docked along the window's bottom.

#include <functional>
#include <string>
#include <vector>

#include <QWidget>

#include "platform/events.h"

namespace kalidor {

class StatusBarWidget : public QWidget {
    Q_OBJECT
public:
    StatusBarWidget(QWidget* parent, std::vector<int> panelWidths, int height);

    void setPanelText(int panel, const std::string& text);  // panels count from 1
    std::string panelText(int panel) const;
    // Shown while the pointer rests on the panel.
    void setPanelToolTip(int panel, const std::string& text);
    std::string panelToolTip(int panel) const;
    // What assistive technology calls the panel.
    void setPanelName(int panel, const std::string& name);
    std::string panelName(int panel) const;
    int panelCount() const { return static_cast<int>(widths_.size()); }
    // The panel's rectangle in the bar's pixels.
    QRect panelRect(int panel) const;

    // X, Y in twips from the bar's top-left corner.
    std::function<void(const MouseArgs&)> onMouseDown;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::vector<int> widths_;
    std::vector<std::string> texts_;
    std::vector<std::string> tips_;
    std::vector<std::string> names_;
};

}  // namespace kalidor
