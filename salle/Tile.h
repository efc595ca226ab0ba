#pragma once

#include <QFrame>

#include <chrono>
#include <optional>

#include "salle/Room.h"

class QLabel;
class QPushButton;

namespace salle {

class TrendView;

// One bench or station of the room: its name, kind, state (in colour), live
// measurement and trend, and its last run; grey once it stops reporting. A
// click opens its details.
class Tile : public QFrame {
    Q_OBJECT

public:
    static constexpr int kWidth = 280;

    explicit Tile(QWidget* parent = nullptr);

    void Show(const Place& place, std::optional<std::chrono::seconds> silent, Clock::time_point now);

    QLabel* Title() const { return m_title; }
    QLabel* Name() const { return m_name; }
    QLabel* State() const { return m_state; }
    QLabel* Measure() const { return m_measure; }
    QLabel* Run() const { return m_run; }
    QLabel* Kept() const { return m_kept; }
    QLabel* Unreadable() const { return m_unreadable; }
    QPushButton* StopButton() const { return m_stop; }
    QPushButton* MessageButton() const { return m_message; }
    TrendView* TrendOf() const { return m_trend; }
    bool Silent() const { return m_silent; }

signals:
    void opened();
    void stopAsked();
    void messageAsked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* m_title;
    QLabel* m_name;
    QLabel* m_state;
    QLabel* m_measure;
    TrendView* m_trend;
    QLabel* m_run;
    QLabel* m_kept;
    QLabel* m_unreadable;
    QPushButton* m_stop;
    QPushButton* m_message;
    bool m_silent = false;
};

}  // namespace salle
