#include "salle/RoomPrompts.h"

#include <QInputDialog>
#include <QMessageBox>

#include "window/Latin1.h"

namespace salle {

using banc::window::Latin1;
using banc::window::Q;

RoomPrompts::~RoomPrompts() = default;

bool DialogRoomPrompts::Confirm(QWidget* parent, const std::string& title, const std::string& question)
{
    return QMessageBox::question(parent, Q(title), Q(question), QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

bool DialogRoomPrompts::AskMessage(QWidget* parent, const std::string& to, std::string& text)
{
    bool given = false;
    const QString typed =
        QInputDialog::getMultiLineText(parent, Q("Message"), Q("Message pour " + to + " :"), {}, &given);
    if (!given) return false;
    text = Latin1(typed);
    return true;
}

}  // namespace salle
