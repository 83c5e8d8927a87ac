// The banner strip: its start, the hand-over of pages from the worker, and its stop.
#include "banner/AffiliateLink.h"

#include "banner/BannerPages.h"
#include "banner/NavigateToPath.h"

#include <cstdio>

namespace {

constexpr char kReceiverClass[] = "SorvantaBannerReceiver";

} // namespace

AffiliateLink::AffiliateLink(CWnd* parent, const RECT& rect, DWORD style, LPCSTR windowText, UINT id)
    : iBrowserWnd(parent, rect, style, windowText, id), m_parentWnd(parent)
{
}

AffiliateLink::AffiliateLink(CWnd* parent, const RECT& rect, DWORD style, LPCSTR reserved, UINT id, DWORD exStyle,
                             LPVOID param)
    : iBrowserWnd(parent, rect, style, reserved, id, exStyle, param), m_parentWnd(parent)
{
}

AffiliateLink::~AffiliateLink()
{
    StopAndWait();
    if (m_receiver)
        ::DestroyWindow(m_receiver);
}

void AffiliateLink::Start(const char* host, iDBEngine* engine, int port)
{
    if (m_thread || m_abandonedThread)
        return;
    m_engine = engine;
    m_origin = MakeBannerOrigin(host, port);
    CreateReceiver();
    m_thread = new Thread(this);
    m_thread->Init(host, engine, port);
}

void AffiliateLink::StopThread()
{
    if (m_thread)
        m_thread->Stop();
}

bool AffiliateLink::StopAndWait()
{
    if (m_abandonedThread)
        return false;
    if (!m_thread)
        return true;
    m_thread->Stop();
    // With its network waits cancelled the worker ends within a tick; only a name
    // look-up, which cannot be cancelled, could hold it longer.
    if (m_thread->m_hThread && WaitForSingleObject(m_thread->m_hThread, kStopWaitMs) != WAIT_OBJECT_0) {
        char text[128];
        snprintf(text, sizeof text, "banner: the worker did not end within %lu ms; it is left running\n",
                 static_cast<unsigned long>(kStopWaitMs));
        OutputDebugStringA(text);
        m_abandonedThread = true;
        m_thread = nullptr;
        return false;
    }
    delete m_thread;
    m_thread = nullptr;
    return true;
}

void AffiliateLink::NavigateToPage(const char* path)
{
    // A refusal is not reported: the next page tries again.
    static_cast<void>(NavigateToPath(*this, path));
}

void AffiliateLink::CreateReceiver()
{
    WNDCLASSA windowClass = {};
    if (!GetClassInfoA(AfxGetInstanceHandle(), kReceiverClass, &windowClass)) {
        windowClass.lpfnWndProc = ReceiverProc;
        windowClass.hInstance = AfxGetInstanceHandle();
        windowClass.lpszClassName = kReceiverClass;
        RegisterClassA(&windowClass);
    }
    m_receiver = CreateWindowExA(0, kReceiverClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 AfxGetInstanceHandle(), nullptr);
    if (m_receiver)
        SetWindowLongPtrA(m_receiver, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK AffiliateLink::ReceiverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == Thread::kPageWrittenMessage) {
        auto* strip = reinterpret_cast<AffiliateLink*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (strip && strip->m_thread && !strip->m_thread->GetTemporaryPagePath().empty())
            strip->NavigateToPage(strip->m_thread->GetTemporaryPagePath().c_str());
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}
