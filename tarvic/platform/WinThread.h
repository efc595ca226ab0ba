#pragma once

#include <thread>

#include "tarvic/platform/Object.h"

// A worker thread object: CreateThread runs InitInstance and, when it returns
// true, Run on a new thread. The object never deletes itself; its owner stops
// the work, then deletes it (the destructor joins the thread).
class TARVIC_EXPORT CWinThread : public CObject {
    TARVIC_DECLARE_DYNAMIC(CWinThread)

public:
    CWinThread();
    ~CWinThread() override;

    bool CreateThread();
    bool IsStarted() const { return m_thread.joinable(); }

    virtual bool InitInstance();
    virtual int Run();
    virtual int ExitInstance();

protected:
    // Waits for the thread to end; derived destructors call it before their
    // members go, since the thread may still be using them.
    void WaitForThreadEnd();

private:
    std::thread m_thread;
};
