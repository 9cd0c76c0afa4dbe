#include "game/my_app.h"
#include "runtime/errors.h"

int c_MyApp::p_GetURL(String url, String query) {
    m_PlayerName = String("N/A");
    String fullUrl = url + String("?") + query;
    auto* request = (new c_HttpRequest)->m_new();
    request->p_Open(String("GET"), fullUrl, this);
    gc_assign(m_Request, request);
    m_Request->p_Send();
    kpPrint(String("Requesting URL"));
    m_RequestDone = 0;
    return 0;
}

// Only the request this app sent counts; a reply with text marks the greeting
// as answered.
int c_MyApp::p_OnHttpRequestComplete(c_HttpRequest* request) {
    if (request != m_Request) return 0;
    kpPrint(String("Http GET complete! ") + String(request->p_Status()));
    m_RequestDone = 1;
    m_PlayerName = request->p_ResponseText();
    if (m_PlayerName.Length() > 0) kp_VTR_J_On_Able = 1;
    return 0;
}
