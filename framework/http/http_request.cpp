#include "framework/http/http_request.h"

c_HttpRequest* c_HttpRequest::m_new() {
    gc_assign(m_SendBuffer, (new c_DataBuffer)->m_new(kSendBufferSize));
    gc_assign(m_ReceiveBuffer, (new c_DataBuffer)->m_new(kReceiveBufferSize));
    return this;
}

c_HttpRequest* c_HttpRequest::m_new2(String method, String url, c_IOnHttpRequestComplete* onComplete) {
    m_new();
    p_Open(method, url, onComplete);
    return this;
}

int c_HttpRequest::p_Open(String method, String url, c_IOnHttpRequestComplete* onComplete) {
    m_Method = method;
    gc_assign(m_Url, (new c_Url)->m_new(url, String("http"), 80));
    gc_assign(m_OnComplete, onComplete);
    m_Status = -1;
    m_ResponseText = String();
    m_Body = nullptr;
    m_BodyLength = 0;
    m_BodyPieces = nullptr;
    m_BytesReceived = 0;
    gc_assign(m_HeadLines, (new c_StringStack)->m_new2());
    m_HeadLines->p_Push4(method + String(" ") + m_Url->p_FullPath() + String(" HTTP/1.0"));
    // The port stays out of the Host line, even when it is not 80.
    m_HeadLines->p_Push4(String("Host: ") + m_Url->p_Domain());
    return 0;
}

int c_HttpRequest::p_Send() {
    gc_assign(m_Socket, (new c_Socket)->m_new(String("stream")));
    m_Socket->p_ConnectAsync(m_Url->p_Domain(), m_Url->p_Port(), this);
    return 0;
}

int c_HttpRequest::p_Send2(String data, String mimeType, String encoding) {
    gc_assign(m_Body, (new c_DataBuffer)->m_new(data.Length() * 3));
    m_BodyLength = m_Body->p_PokeString(0, data, encoding);
    if (mimeType.Length() > 0) m_HeadLines->p_Push4(String("Content-Type: ") + mimeType);
    m_HeadLines->p_Push4(String("Content-Length: ") + String(m_BodyLength));
    return p_Send();
}

int c_HttpRequest::p_Status() { return m_Status; }

String c_HttpRequest::p_ResponseText() { return m_ResponseText; }

int c_HttpRequest::p_OnConnectComplete(bool connected, c_Socket*) {
    if (!connected) return p_Finish();
    int length = SendHead();
    if (m_Socket->p_IsConnected()) m_Socket->p_SendAsync(m_SendBuffer, 0, length, this);
    if (m_Socket->p_IsConnected()) m_Socket->p_ReceiveAsync(m_ReceiveBuffer, 0, kReceiveBufferSize, this);
    return 0;
}

// Writes the head into the send buffer and returns its length. A head that
// does not fit gets a buffer of its own size: a cut head would leave the
// server waiting for the rest.
int c_HttpRequest::SendHead() {
    m_HeadLines->p_Push4(String());
    m_HeadLines->p_Push4(String());
    String head = m_HeadLines->p_Join(String("\r\n"));
    m_HeadLines->p_Clear();
    if (head.Length() > m_SendBuffer->Length()) gc_assign(m_SendBuffer, (new c_DataBuffer)->m_new(head.Length()));
    return m_SendBuffer->p_PokeString(0, head, String("ascii"));
}

// The body goes once, after the head.
int c_HttpRequest::p_OnSendComplete(c_DataBuffer*, int, int, c_Socket*) {
    if (m_BodyLength > 0 && m_Socket->p_IsConnected()) m_Socket->p_SendAsync(m_Body, 0, m_BodyLength, this);
    m_BodyLength = 0;
    return 0;
}

int c_HttpRequest::p_Finish() {
    m_Socket->p_Close();
    if (m_BodyPieces) m_ResponseText = m_BodyPieces->p_Join(String());
    m_OnComplete->p_OnHttpRequestComplete(this);
    return 0;
}

void c_HttpRequest::mark() {
    gc_mark(m_Url);
    gc_mark(m_OnComplete);
    gc_mark(m_Body);
    gc_mark(m_BodyPieces);
    gc_mark(m_HeadLines);
    gc_mark(m_Socket);
    gc_mark(m_SendBuffer);
    gc_mark(m_ReceiveBuffer);
}
