#pragma once

#include "runtime/gc.h"

// A URL split into its parts; parts the text leaves out keep their defaults.
class c_Url : public Object {
public:
    String m_defaultScheme;
    int m_defaultPort = 0;
    String m_url;
    String m_scheme;
    String m_username;
    String m_password;
    String m_domain;
    int m_port = 0;
    String m_path;
    String m_query;
    String m_fragment;

    c_Url* m_new(String url, String defaultScheme, int defaultPort);
    int p_Set2(String url);
    // The path, then "?" and the query and "#" and the fragment when present.
    String p_FullPath();
    String p_Domain();
    int p_Port();

private:
    void Reset(const String& url);
    void ReadUserInfo(int& start, int end);
    void ReadHost(int start, int end);
};
