#pragma once

#include "framework/containers/stack.h"
#include "framework/http/data_buffer.h"
#include "framework/http/url.h"
#include "framework/socket/socket.h"

class c_HttpRequest;

// Told once, on the main thread, when a sent request has finished.
class c_IOnHttpRequestComplete : public virtual gc_interface {
public:
    virtual int p_OnHttpRequestComplete(c_HttpRequest* request) = 0;
};

// One HTTP/1.0 request over an async stream socket: sends the head (and a
// body), reads the response until the server closes, keeps the status and
// the body as text, and tells its completion once at the end.
class c_HttpRequest : public Object,
                      public virtual c_IOnConnectComplete,
                      public virtual c_IOnSendComplete,
                      public virtual c_IOnReceiveComplete {
public:
    static constexpr int kSendBufferSize = 4096;
    static constexpr int kReceiveBufferSize = 16384;

    String m_Method;
    c_Url* m_Url = nullptr;
    c_IOnHttpRequestComplete* m_OnComplete = nullptr;
    c_DataBuffer* m_Body = nullptr;
    // The body still to send after the head; 0 once sent.
    int m_BodyLength = 0;
    int m_Status = -1;
    // Created when the header section ends.
    c_StringStack* m_BodyPieces = nullptr;
    String m_ResponseText;
    int m_BytesReceived = 0;
    // The request head before sending, then the response's header lines.
    c_StringStack* m_HeadLines = nullptr;
    c_Socket* m_Socket = nullptr;
    c_DataBuffer* m_SendBuffer = nullptr;
    c_DataBuffer* m_ReceiveBuffer = nullptr;

    c_HttpRequest* m_new();
    c_HttpRequest* m_new2(String method, String url, c_IOnHttpRequestComplete* onComplete);
    int p_Open(String method, String url, c_IOnHttpRequestComplete* onComplete);
    int p_Send();
    int p_Send2(String data, String mimeType, String encoding);
    int p_Status();
    String p_ResponseText();

    int p_OnConnectComplete(bool connected, c_Socket* source) override;
    int p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
    int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
    int p_Finish();
    void mark() override;

private:
    int SendHead();
    void ReadHeaders(int offset, int count);
    bool ReadStatusLine();
    void EndHeaders(int bodyStart, int end);
    void KeepUnfinishedLine(int lineStart, int end);
    void TakeBody(int from, int end);
    void ReceiveFrom(int start);
};
