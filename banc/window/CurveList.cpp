#include "window/CurveList.h"

#include <QPixmap>

#include <tarvic/recording/Enregistrement.h>

#include <algorithm>

#include "engine/model/Elements.h"
#include "window/CurveCatalog.h"
#include "window/Latin1.h"

namespace banc::window {
namespace {

constexpr int kSwatch = 14;

// The renderer's colours of the codes, for the swatches.
QColor ColourOf(const PlotCurve& curve)
{
    if (curve.pen != kColourOfCode) return QColor(GetRValue(curve.pen), GetGValue(curve.pen), GetBValue(curve.pen));
    switch (curve.colour) {
    case '1': return QColor(0, 0, 255);
    case '2': return QColor(255, 0, 0);
    case '3': return QColor(0, 128, 0);
    default: return QColor(0, 0, 0);
    }
}

}  // namespace

CurveList::CurveList(std::mutex& lock, QWidget* parent) : QListWidget(parent), m_lock(lock)
{
    connect(this, &QListWidget::itemChanged, this, &CurveList::OnChanged);
}

void CurveList::Forget()
{
    m_order.clear();
    m_bench = nullptr;
    m_mode = nullptr;
}

void CurveList::Rebuild(const Settings& settings, Elements& elements)
{
    // A code is a curve of its bench and mode: elsewhere it may be another quantity.
    std::vector<int> wanted = settings.bench == m_bench && settings.mode == m_mode ? m_order : std::vector<int>{};
    m_bench = settings.bench;
    m_mode = settings.mode;
    bool fresh = false;
    {
        std::lock_guard lock(m_lock);
        m_catalog = CurveCatalog(settings, elements);
        fresh = m_recording != elements.recording.get();
        m_recording = elements.recording.get();
        // A recording already shown keeps its selection: a curve taken out of it could send it back to block 0.
        if (!fresh) {
            wanted.clear();
            for (int i = 0; i < m_recording->LitParam(0); ++i) wanted.push_back(m_recording->LitNum(i));
        }
    }
    const auto inCatalog = [this](int code) {
        return std::any_of(m_catalog.begin(), m_catalog.end(),
                           [code](const PlotCurve& c) { return c.curve.code == code; });
    };
    std::erase_if(wanted, [&](int code) { return !inCatalog(code); });
    if (wanted.empty())
        for (int i = 0; i < kCurvesShownAtFirst && i < static_cast<int>(m_catalog.size()); ++i)
            wanted.push_back(m_catalog[static_cast<std::size_t>(i)].curve.code);
    m_filling = true;
    clear();
    for (const PlotCurve& plotted : m_catalog) {
        QPixmap swatch(kSwatch, kSwatch);
        swatch.fill(ColourOf(plotted));
        auto* item = new QListWidgetItem(QIcon(swatch), Q(plotted.curve.label), this);
        item->setData(Qt::UserRole, plotted.curve.code);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        const bool shown = std::find(wanted.begin(), wanted.end(), plotted.curve.code) != wanted.end();
        item->setCheckState(shown ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
    {
        std::lock_guard lock(m_lock);
        for (const int code : wanted)
            if (!m_recording->TestBloc(code)) m_recording->SetPoint(code, 1, "");
    }
    m_order = wanted;
    emit shownChanged();
}

std::vector<PlotCurve> CurveList::Shown() const
{
    std::vector<PlotCurve> shown;
    for (const int code : m_order)
        for (const PlotCurve& plotted : m_catalog)
            if (plotted.curve.code == code) shown.push_back(plotted);
    return shown;
}

void CurveList::SetShown(int code, bool shown)
{
    for (int row = 0; row < count(); ++row)
        if (item(row)->data(Qt::UserRole).toInt() == code)
            item(row)->setCheckState(shown ? Qt::Checked : Qt::Unchecked);
}

void CurveList::OnChanged(QListWidgetItem* changed)
{
    if (m_filling || !m_recording) return;
    const int code = changed->data(Qt::UserRole).toInt();
    const bool shown = changed->checkState() == Qt::Checked;
    const bool listed = std::find(m_order.begin(), m_order.end(), code) != m_order.end();
    if (shown == listed) return;
    if (!shown && m_order.size() == 1) {
        // The last one stays.
        m_filling = true;
        changed->setCheckState(Qt::Checked);
        m_filling = false;
        return;
    }
    {
        std::lock_guard lock(m_lock);
        m_recording->SetPoint(code, shown ? 1 : 0, Latin1(changed->text()));
    }
    if (shown)
        m_order.push_back(code);
    else
        std::erase(m_order, code);
    emit shownChanged();
}

}  // namespace banc::window
