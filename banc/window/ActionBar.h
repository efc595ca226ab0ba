#pragma once

#include <QWidget>

#include <array>

class CIconButton;

namespace banc::window {

enum class Action { Download, Start, Stop, Open, Save, ExportCsv, ExportPng, Identify, Sweep };

// What may be done: nothing that changes the card's configuration while a run
// is on (a sweep is one); an identification of an open-loop run shown (`identifiable`).
bool Allowed(Action action, bool connected, bool running, bool identifiable);

// The window's actions as the library's icon buttons, each with its tip.
class ActionBar : public QWidget {
    Q_OBJECT

public:
    explicit ActionBar(QWidget* parent = nullptr);

    CIconButton* Button(Action action) const { return m_buttons[static_cast<std::size_t>(action)]; }
    void SetState(bool connected, bool running, bool identifiable);

signals:
    void triggered(Action action);

private:
    std::array<CIconButton*, 9> m_buttons{};
};

}  // namespace banc::window
