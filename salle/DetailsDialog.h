#pragma once

#include <QDialog>

#include <chrono>
#include <optional>
#include <string>

#include "salle/Room.h"

class QLabel;
class QTabWidget;

namespace salle {

class RunPlotView;
class StationBitsView;
class TrendView;

// One place in detail, kept up to date while open: the live plot of its
// measures, its last run's curves and figures, a station's bits.
class DetailsDialog : public QDialog {
public:
    explicit DetailsDialog(QWidget* parent = nullptr);

    void Show(const Place& place, std::optional<std::chrono::seconds> silent, Clock::time_point now);

    QTabWidget* Tabs() const { return m_tabs; }
    QLabel* StateText() const { return m_state; }
    QLabel* Values() const { return m_values; }
    TrendView* Live() const { return m_live; }
    QLabel* RunText() const { return m_run; }
    RunPlotView* RunPlot() const { return m_runPlot; }
    QLabel* StationText() const { return m_station; }
    StationBitsView* Bits() const { return m_bits; }

private:
    void ShowRun(const Place& place);

    QLabel* m_state;
    QTabWidget* m_tabs;
    QLabel* m_values;
    TrendView* m_live;
    QLabel* m_run;
    RunPlotView* m_runPlot;
    QLabel* m_station;
    StationBitsView* m_bits;
    std::string m_runShown;  // the origin of the run drawn, not to read its archive again
    std::string m_runError;  // why its archive could not be read, "" when it was
};

// "Consigne : 20,0 cm    Niveau : 18,5 cm    Commande : 42,5 %": the last values heard.
std::string ValuesLine(const Place& place);
// The last run in full: its figures, settings, user, number at its place, where it was kept.
std::string RunDetails(const Place& place);

}  // namespace salle
