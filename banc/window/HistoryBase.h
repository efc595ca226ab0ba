#pragma once

#include <QObject>

#include <string>
#include <vector>

#include "engine/history/KeepRun.h"
#include "engine/history/RunHistory.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/Experiment.h"

namespace banc::window {

// The window's run history: every run kept at its end, and the runs read,
// commented and removed for the Historique pane. A base that cannot be
// opened is tried again at each use, and says why not (Latin-1) instead of
// stopping anything.
class HistoryBase : public QObject {
    Q_OBJECT

public:
    // `path` "" the user's default base; `user` "" the login.
    HistoryBase(std::string path, std::string user, QObject* parent = nullptr);
    ~HistoryBase() override;

    const std::string& Path() const { return m_path; }
    // "" while the base opens, else why it does not.
    const std::string& Unavailable() const { return m_unavailable; }

    // The run that just ended, begun at `startedAt`, on the card `card`: its
    // number, or 0 and the warning; and the run as kept.
    history::KeptInHistory Keep(const Settings& settings, Elements& elements, const Outcome& outcome,
                                const std::string& startedAt, const std::string& card);
    // The bench's runs, newest first, without their archives.
    std::string List(const std::string& bench, std::vector<history::StoredRun>& runs);
    std::string Read(long long number, history::StoredRun& run);
    std::string SetComment(long long number, const std::string& comment);
    std::string Remove(long long number, history::StoredRun& removed);

signals:
    // Runs kept, commented or removed, or the base opened or lost.
    void changed();

private:
    // "" once open.
    std::string Opened();

    std::string m_path;
    std::string m_user;
    history::RunHistory m_history;
    bool m_open = false;
    std::string m_unavailable;
};

}  // namespace banc::window
