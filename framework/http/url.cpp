#include "framework/http/url.h"

namespace {

// The first `what` at or after `from`, counted only before `end`.
int FindBefore(const String& text, const char* what, int from, int end) {
    int at = text.Find(String(what), from);
    return at != -1 && at < end ? at : -1;
}

}  // namespace

c_Url* c_Url::m_new(String url, String defaultScheme, int defaultPort) {
    m_defaultScheme = defaultScheme;
    m_defaultPort = defaultPort;
    p_Set2(url);
    return this;
}

void c_Url::Reset(const String& url) {
    m_url = url;
    m_scheme = m_defaultScheme;
    m_username = String();
    m_password = String();
    m_domain = String();
    m_port = m_defaultPort;
    m_path = String("/");
    m_query = String();
    m_fragment = String();
}

int c_Url::p_Set2(String url) {
    Reset(url);
    int query = url.Find(String("?"));
    int hash = url.Find(String("#"));
    // A "?" after the "#" belongs to the fragment.
    if (hash != -1 && hash < query) query = -1;
    int end = url.Length();
    if (hash != -1) end = hash;
    if (query != -1) end = query;

    int start = 0;
    int scheme = FindBefore(url, "://", 0, end);
    if (scheme != -1) {
        m_scheme = url.Slice(0, scheme);
        start = scheme + 3;
    }
    ReadUserInfo(start, end);
    ReadHost(start, end);
    if (query != -1) m_query = hash != -1 ? url.Slice(query + 1, hash) : url.Slice(query + 1);
    if (hash != -1) m_fragment = url.Slice(hash + 1);
    return 0;
}

void c_Url::ReadUserInfo(int& start, int end) {
    int at = FindBefore(m_url, "@", start, end);
    if (at == -1) return;
    int colon = FindBefore(m_url, ":", start, at);
    if (colon != -1) {
        m_username = m_url.Slice(start, colon);
        m_password = m_url.Slice(colon + 1, at);
    } else {
        m_username = m_url.Slice(start, at);
    }
    start = at + 1;
}

// A ":" counts as the port's start only before the first "/".
void c_Url::ReadHost(int start, int end) {
    int colon = FindBefore(m_url, ":", start, end);
    int slash = FindBefore(m_url, "/", start, end);
    if (slash == -1 && colon == -1) {
        m_domain = m_url.Slice(start, end);
    } else if (slash == -1) {
        m_domain = m_url.Slice(start, colon);
        m_port = m_url.Slice(colon + 1, end).ToInt();
    } else if (colon != -1 && colon < slash) {
        m_domain = m_url.Slice(start, colon);
        m_port = m_url.Slice(colon + 1, slash).ToInt();
        m_path = m_url.Slice(slash, end);
    } else {
        m_domain = m_url.Slice(start, slash);
        m_path = m_url.Slice(slash, end);
    }
}

String c_Url::p_FullPath() {
    String full = m_path;
    if (m_query.Length() > 0) full += String("?") + m_query;
    if (m_fragment.Length() > 0) full += String("#") + m_fragment;
    return full;
}

String c_Url::p_Domain() { return m_domain; }

int c_Url::p_Port() { return m_port; }
