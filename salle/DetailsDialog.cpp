#include "salle/DetailsDialog.h"

#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include <tarvic/platform/Text.h>

#include "engine/outputs/FigureText.h"
#include "salle/PlaceText.h"
#include "salle/RunPlotView.h"
#include "salle/StationBitsView.h"
#include "salle/TrendView.h"
#include "window/Latin1.h"

namespace salle {
namespace {

using banc::window::Q;

QLabel* WrappedLabel()
{
    auto* label = new QLabel;
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

std::string ValuesLine(const Place& place)
{
    if (!place.measures) return {};
    std::string line;
    for (const net::Measure& measure : place.measures->values) {
        const std::string unit = measure.unit.empty() ? "" : " " + measure.unit;
        line += (line.empty() ? "" : "    ") + measure.name + " : " + banc::DecimalText(measure.value, 1) + unit;
    }
    return line;
}

std::string RunDetails(const Place& place)
{
    if (!place.run) return "Aucun essai depuis l'ouverture de la vue.";
    const net::RunEnd& run = *place.run;
    std::string text = RunLine(place) + "\n";
    text += "Banc : " + run.bench + ", mode " + run.mode + "\n";
    text += "R\xE9glages : " + run.settings + "\n";
    text += "Utilisateur : " + run.user + "\n";
    if (!run.outcomeText.empty()) text += run.outcomeText + "\n";
    if (run.number > 0) text += tarvic::Format("Essai n\xB0 %lld au poste\n", run.number);
    return text + KeptLine(place);
}

DetailsDialog::DetailsDialog(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    m_state = new QLabel;
    layout->addWidget(m_state);
    m_tabs = new QTabWidget;
    layout->addWidget(m_tabs);

    auto* measures = new QWidget;
    auto* measuresLayout = new QVBoxLayout(measures);
    m_values = WrappedLabel();
    m_live = new TrendView(TrendView::Kind::Live);
    measuresLayout->addWidget(m_values);
    measuresLayout->addWidget(m_live, 1);
    m_tabs->addTab(measures, Q("Mesures"));

    auto* run = new QWidget;
    auto* runLayout = new QVBoxLayout(run);
    m_run = WrappedLabel();
    m_runPlot = new RunPlotView;
    runLayout->addWidget(m_run);
    runLayout->addWidget(m_runPlot, 1);
    m_tabs->addTab(run, Q("Dernier essai"));

    auto* station = new QWidget;
    auto* stationLayout = new QVBoxLayout(station);
    m_station = WrappedLabel();
    m_bits = new StationBitsView;
    stationLayout->addWidget(m_station);
    stationLayout->addWidget(m_bits);
    stationLayout->addStretch(1);
    m_tabs->addTab(station, Q("Entr\xE9" "es et sorties"));
}

void DetailsDialog::Show(const Place& place, std::optional<std::chrono::seconds> silent, Clock::time_point now)
{
    setWindowTitle(Q(place.poste.poste + " (salle " + place.poste.salle + ")"));
    std::string state = NameLine(place) + " : " + StateLine(place, silent);
    if (place.state && !place.state->card.empty()) state += ", carte " + place.state->card;
    if (place.state && !place.state->user.empty()) state += ", " + place.state->user;
    if (!place.unreadable.empty()) state += "\nIllisible, " + place.unreadable;
    m_state->setText(Q(state));
    const std::string values = ValuesLine(place);
    m_values->setText(Q(values.empty() ? "Aucune mesure re\xE7ue." : values));
    m_live->Show(place.trends, 0, now);
    ShowRun(place);
    if (place.station) {
        m_station->setText(Q(place.station->stateText));
        m_bits->Show(place.station->inputs, place.station->outputs);
    } else {
        m_station->setText(Q("Aucun \xE9tat de station re\xE7u."));
    }
}

void DetailsDialog::ShowRun(const Place& place)
{
    const std::string origin = place.run ? place.run->startedAt + "/" + place.run->time : "";
    if (place.run && origin != m_runShown) {
        m_runError = m_runPlot->Load(place.run->archive, "l'archive de l'essai de " + place.poste.poste);
        m_runShown = origin;
    }
    const std::string details = RunDetails(place);
    m_run->setText(Q(m_runError.empty() ? details : details + "\n" + m_runError));
}

}  // namespace salle
