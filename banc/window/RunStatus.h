#pragma once

#include <QStatusBar>

#include "window/CardConnection.h"

class QLabel;
class QProgressBar;

namespace banc::window {

// The status bar: the link's state, the run's progress (blocks acquired,
// time left), the cursor's reading, and the last notice.
class RunStatus : public QStatusBar {
    Q_OBJECT

public:
    explicit RunStatus(QWidget* parent = nullptr);

    void ShowLink(LinkState state, const QString& detail);
    // `secondsPerBlock`: the wall-clock time of one block.
    void ShowProgress(int acquired, int total, double secondsPerBlock);
    // The progress of a run made of steps (a sweep's frequencies): `done` of `total`, and what is under way.
    void ShowSteps(int done, int total, const QString& text);
    void ShowCursor(const QString& text);
    void ShowNotice(const QString& text);
    // Another experiment shown: nothing of the last run's progress nor of its notice.
    void ClearRun();

    QString LinkText() const;
    QString ProgressText() const;
    QString CursorText() const;
    QString NoticeText() const;
    int ProgressValue() const;

private:
    QLabel* m_link;
    QLabel* m_progress;
    QProgressBar* m_bar;
    QLabel* m_cursor;
    QLabel* m_notice;
};

}  // namespace banc::window
