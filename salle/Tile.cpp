#include "salle/Tile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "salle/PlaceText.h"
#include "salle/TrendView.h"
#include "window/Latin1.h"

namespace salle {
namespace {

using banc::window::Q;

QColor Colour(COLORREF colour) { return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour)); }

QLabel* Line(QVBoxLayout* layout, const char* name, bool wrapped = false)
{
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(wrapped);
    layout->addWidget(label);
    return label;
}

// A line shown only when it says something.
void SetLine(QLabel* label, const std::string& text)
{
    label->setText(Q(text));
    label->setVisible(!text.empty());
}

}  // namespace

Tile::Tile(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFixedWidth(kWidth);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    auto* layout = new QVBoxLayout(this);
    m_title = Line(layout, "poste");
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.25);
    m_title->setFont(bold);
    m_name = Line(layout, "nom");
    m_state = Line(layout, "etat");
    m_state->setAutoFillBackground(true);
    m_state->setMargin(3);
    m_measure = Line(layout, "mesure", true);
    m_trend = new TrendView(TrendView::Kind::Tile);
    m_trend->setFixedHeight(m_trend->sizeHint().height());
    layout->addWidget(m_trend);
    m_run = Line(layout, "essai", true);
    m_kept = Line(layout, "garde", true);
    m_unreadable = Line(layout, "illisible", true);
    QPalette warning = m_unreadable->palette();
    warning.setColor(QPalette::WindowText, QColor(183, 28, 28));
    m_unreadable->setPalette(warning);
    auto* buttons = new QHBoxLayout;
    m_stop = new QPushButton(Q("Arr\xEAter"));
    m_message = new QPushButton(Q("Message..."));
    buttons->addWidget(m_stop);
    buttons->addWidget(m_message);
    layout->addLayout(buttons);
    connect(m_stop, &QPushButton::clicked, this, &Tile::stopAsked);
    connect(m_message, &QPushButton::clicked, this, &Tile::messageAsked);
}

void Tile::Show(const Place& place, std::optional<std::chrono::seconds> silent, Clock::time_point now)
{
    m_silent = silent.has_value();
    m_title->setText(Q(place.poste.poste));
    m_name->setText(Q(NameLine(place)));
    const COLORREF stateColour = silent        ? kSilentColour
                                 : place.state ? ActivityColour(place.state->activity)
                                               : kUnknownColour;
    m_state->setText(Q(StateLine(place, silent)));
    QPalette state = m_state->palette();
    state.setColor(QPalette::Window, Colour(stateColour));
    state.setColor(QPalette::WindowText, Qt::white);
    m_state->setPalette(state);
    SetLine(m_measure, place.station ? StationLine(place) : MeasureLine(place));
    const Trend* trend = MainTrend(place);
    m_trend->Show(trend ? std::vector<Trend>{*trend} : std::vector<Trend>{}, stateColour, now);
    m_trend->setVisible(trend != nullptr);
    SetLine(m_run, RunLine(place));
    SetLine(m_kept, KeptLine(place));
    SetLine(m_unreadable, place.unreadable.empty() ? "" : "Illisible, " + place.unreadable);
    // A tile that stopped reporting is greyed whole, its last values kept in sight.
    QPalette tile = palette();
    tile.setColor(QPalette::Window, silent ? QColor(224, 224, 224) : QColor(255, 255, 255));
    setPalette(tile);
    const bool reachable = place.state && place.state->activity != net::PosteActivity::Offline;
    m_stop->setEnabled(reachable);
    m_message->setEnabled(reachable);
}

void Tile::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit opened();
    QFrame::mouseReleaseEvent(event);
}

}  // namespace salle
