#pragma once

#include <string>

class QWidget;

namespace salle {

// The questions the room view puts to the teacher, behind an interface so
// that the tests answer them. Texts are Latin-1.
class RoomPrompts {
public:
    virtual ~RoomPrompts();
    // Whether to do what `question` says; no by default.
    virtual bool Confirm(QWidget* parent, const std::string& title, const std::string& question) = 0;
    // The message for `to`, typed; false when the teacher gave up.
    virtual bool AskMessage(QWidget* parent, const std::string& to, std::string& text) = 0;
};

// With the usual message boxes.
class DialogRoomPrompts : public RoomPrompts {
public:
    bool Confirm(QWidget* parent, const std::string& title, const std::string& question) override;
    bool AskMessage(QWidget* parent, const std::string& to, std::string& text) override;
};

}  // namespace salle
