#include "framework/http/http_request.h"
#include "framework/http/text_encoding.h"

namespace {

// Removes characters below 0x21 at both ends, the carriage return among them.
String Trimmed(const String& line) {
    int from = 0;
    int to = line.Length();
    while (from < to && line[from] < 0x21) ++from;
    while (to > from && line[to - 1] < 0x21) --to;
    return line.Slice(from, to);
}

}  // namespace

// The new bytes are at [offset, offset + count) of the receive buffer; the
// bytes before them are an unfinished header line or, in the body, the start
// of a UTF-8 sequence that the previous chunk cut.
int c_HttpRequest::p_OnReceiveComplete(c_DataBuffer*, int offset, int count, c_Socket*) {
    if (count <= 0) {
        // The server closed (0) or the receive failed (-1): bytes held for an
        // unfinished character are decoded as they are, and the request ends.
        if (m_BodyPieces && offset > 0) m_BodyPieces->p_Push4(m_ReceiveBuffer->p_PeekString(0, offset, String("utf8")));
        return p_Finish();
    }
    if (m_BodyPieces) {
        m_BytesReceived += count;
        TakeBody(0, offset + count);
    } else {
        ReadHeaders(offset, count);
    }
    return 0;
}

// Lines start at the buffer's beginning: an unfinished one is moved there.
void c_HttpRequest::ReadHeaders(int offset, int count) {
    const unsigned char* bytes = m_ReceiveBuffer->Bytes();
    int end = offset + count;
    int lineStart = 0;
    for (int i = offset; i < end; ++i) {
        if (bytes[i] != '\n') continue;
        String line = Trimmed(m_ReceiveBuffer->p_PeekString(lineStart, i - lineStart, String("ascii")));
        lineStart = i + 1;
        if (line.Length() == 0) {
            EndHeaders(lineStart, end);
            return;
        }
        m_HeadLines->p_Push4(line);
    }
    KeepUnfinishedLine(lineStart, end);
}

// Only the status is read from the header lines; the reason phrase and the
// other lines are kept but not interpreted.
bool c_HttpRequest::ReadStatusLine() {
    if (m_HeadLines->p_Length2() == 0) return false;
    Array<String> parts = m_HeadLines->p_Get(0).ToUpper().Split(String(" "));
    if (parts.Length() < 3 || !parts[0].StartsWith(String("HTTP/"))) return false;
    m_Status = parts[1].ToInt();
    return true;
}

void c_HttpRequest::EndHeaders(int bodyStart, int end) {
    if (!ReadStatusLine()) {
        p_Finish();
        return;
    }
    gc_assign(m_BodyPieces, (new c_StringStack)->m_new2());
    m_BytesReceived += end - bodyStart;
    TakeBody(bodyStart, end);
}

// A line that fills the whole buffer can never end: the request ends
// instead of asking the socket for 0 more bytes.
void c_HttpRequest::KeepUnfinishedLine(int lineStart, int end) {
    int tail = end - lineStart;
    if (tail >= kReceiveBufferSize) {
        p_Finish();
        return;
    }
    m_ReceiveBuffer->p_CopyBytes(lineStart, m_ReceiveBuffer, 0, tail);
    ReceiveFrom(tail);
}

// Decodes the body bytes at [from, end) as one piece. A UTF-8 sequence cut
// at the end waits at the buffer's start for the rest, so a character split
// between two chunks still decodes.
void c_HttpRequest::TakeBody(int from, int end) {
    int held = Utf8TailLength(m_ReceiveBuffer->Bytes() + from, end - from);
    m_BodyPieces->p_Push4(m_ReceiveBuffer->p_PeekString(from, end - held - from, String("utf8")));
    m_ReceiveBuffer->p_CopyBytes(end - held, m_ReceiveBuffer, 0, held);
    ReceiveFrom(held);
}

void c_HttpRequest::ReceiveFrom(int start) {
    if (m_Socket->p_IsConnected()) m_Socket->p_ReceiveAsync(m_ReceiveBuffer, start, kReceiveBufferSize - start, this);
}
