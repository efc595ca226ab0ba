#include "window/RunStatus.h"

#include <QLabel>
#include <QProgressBar>

#include "engine/run/ProgressText.h"
#include "window/Latin1.h"

namespace banc::window {
namespace {

const char* LinkText(LinkState state)
{
    switch (state) {
    case LinkState::None: return "Pas de carte";
    case LinkState::Waiting: return "Connexion \xE0 la carte...";
    case LinkState::Answering: return "Carte connect\xE9" "e";
    case LinkState::Silent: return "La carte ne r\xE9pond pas";
    case LinkState::Lost: return "";  // the detail says why and when the port is tried again
    }
    return "";
}

const char* LinkColour(LinkState state)
{
    switch (state) {
    case LinkState::Answering: return "color: #007000";
    case LinkState::Silent:
    case LinkState::Lost: return "color: #c00000; font-weight: bold";
    default: return "";
    }
}

}  // namespace

RunStatus::RunStatus(QWidget* parent)
    : QStatusBar(parent), m_link(new QLabel(this)), m_progress(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_cursor(new QLabel(this)), m_notice(new QLabel(this))
{
    m_bar->setMaximumWidth(160);
    m_bar->setTextVisible(false);
    // A long reading or notice is cut, whole in its tip, rather than widening the window past the screen.
    for (QLabel* label : {m_cursor, m_notice}) label->setMinimumWidth(1);
    addWidget(m_link);
    addWidget(m_progress);
    addWidget(m_bar);
    addWidget(m_cursor, 1);
    addPermanentWidget(m_notice);
    ShowLink(LinkState::None, {});
}

void RunStatus::ShowLink(LinkState state, const QString& detail)
{
    m_link->setText(state == LinkState::Lost ? detail : Q(window::LinkText(state)));
    m_link->setStyleSheet(QString::fromLatin1(LinkColour(state)));
    m_link->setToolTip(detail);
}

void RunStatus::ShowProgress(int acquired, int total, double secondsPerBlock)
{
    m_progress->setText(Q(BlockProgress(acquired, total, secondsPerBlock)));
    m_bar->setRange(0, std::max(total, 1));
    m_bar->setValue(acquired);
}

void RunStatus::ShowSteps(int done, int total, const QString& text)
{
    m_progress->setText(text);
    m_bar->setRange(0, std::max(total, 1));
    m_bar->setValue(done);
}

void RunStatus::ShowCursor(const QString& text)
{
    m_cursor->setText(text);
    m_cursor->setToolTip(text);
}

void RunStatus::ShowNotice(const QString& text)
{
    m_notice->setText(text);
    m_notice->setToolTip(text);
}

void RunStatus::ClearRun()
{
    m_progress->clear();
    m_bar->reset();
    ShowNotice({});
}

QString RunStatus::LinkText() const { return m_link->text(); }
QString RunStatus::ProgressText() const { return m_progress->text(); }
QString RunStatus::CursorText() const { return m_cursor->text(); }
QString RunStatus::NoticeText() const { return m_notice->text(); }
int RunStatus::ProgressValue() const { return m_bar->value(); }

}  // namespace banc::window
