#include "platform/widgets/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace kalidor {

namespace {

MessageAnswer& answer()
{
    static MessageAnswer hook;
    return hook;
}

}  // namespace

void ShowMessage(const std::string& text)
{
    if (answer()) {
        answer()(text);
        return;
    }
    QMessageBox::warning(QApplication::activeWindow(), "Kalidor", QString::fromStdString(text));
}

void setMessageAnswer(MessageAnswer hook) { answer() = std::move(hook); }

}  // namespace kalidor
