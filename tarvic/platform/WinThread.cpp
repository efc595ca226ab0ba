#include "tarvic/platform/WinThread.h"

TARVIC_IMPLEMENT_DYNAMIC(CWinThread, CObject)

CWinThread::CWinThread() = default;

CWinThread::~CWinThread() { WaitForThreadEnd(); }

bool CWinThread::CreateThread()
{
    if (m_thread.joinable()) return false;
    m_thread = std::thread([this] {
        if (InitInstance()) Run();
    });
    return true;
}

bool CWinThread::InitInstance() { return false; }

int CWinThread::Run() { return 0; }

int CWinThread::ExitInstance() { return 0; }

void CWinThread::WaitForThreadEnd()
{
    if (!m_thread.joinable()) return;
    // An object deleted by its own thread cannot wait for itself.
    if (m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach();
    else
        m_thread.join();
}
