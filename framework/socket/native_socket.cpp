#include "framework/socket/native_socket.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "framework/http/data_buffer.h"
#include "framework/socket/socket_address.h"

namespace {

constexpr int kStream = 1;
constexpr int kServer = 2;
constexpr int kDatagram = 3;

int NewHandle(int protocol) {
    if (protocol == kDatagram) return ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    int handle = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    int on = 1;
    if (handle >= 0) setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return handle;
}

sockaddr* Raw(sockaddr_in* address) { return reinterpret_cast<sockaddr*>(address); }

// The bytes of `data` from `offset`, with `count` clipped to the buffer.
unsigned char* Span(KpDataBuffer* data, int offset, int& count) {
    count = data->Fit(offset, count);
    return count > 0 ? data->Bytes() + offset : data->Bytes();
}

}  // namespace

KpSocket::~KpSocket() { Close(); }

bool KpSocket::Open(int newProtocol) {
    if (handle.load() >= 0) return false;
    if (newProtocol != kStream && newProtocol != kServer && newProtocol != kDatagram) return false;
    int opened = NewHandle(newProtocol);
    if (opened < 0) return false;
    handle.store(opened);
    protocol = newProtocol;
    return true;
}

// Shutting down first wakes a worker blocked in this socket's receive;
// closing alone would leave it waiting.
void KpSocket::Close() {
    int closing = handle.exchange(-1);
    if (closing < 0) return;
    shutdown(closing, SHUT_RDWR);
    close(closing);
}

bool KpSocket::Bind(const String& host, int port) {
    sockaddr_in address;
    setsockaddr(&address, host, port);
    return bind(handle.load(), Raw(&address), sizeof address) == 0;
}

// An unresolved host leaves 0.0.0.0, which Linux would take for this
// machine; such a connect fails instead.
bool KpSocket::Connect(const String& host, int port) {
    sockaddr_in address;
    setsockaddr(&address, host, port);
    if (address.sin_addr.s_addr == htonl(INADDR_ANY)) return false;
    return connect(handle.load(), Raw(&address), sizeof address) == 0;
}

bool KpSocket::Listen(int backlog) { return listen(handle.load(), backlog) == 0; }

bool KpSocket::Accept() {
    acceptedHandle = accept4(handle.load(), nullptr, nullptr, SOCK_CLOEXEC);
    return acceptedHandle >= 0;
}

KpSocket* KpSocket::Accepted() {
    if (acceptedHandle < 0) return nullptr;
    auto* accepted = new KpSocket;
    accepted->handle.store(acceptedHandle);
    accepted->protocol = kStream;
    acceptedHandle = -1;
    return accepted;
}

int KpSocket::Send(KpDataBuffer* data, int offset, int count) {
    unsigned char* bytes = Span(data, offset, count);
    return static_cast<int>(send(handle.load(), bytes, count, MSG_NOSIGNAL));
}

int KpSocket::Receive(KpDataBuffer* data, int offset, int count) {
    unsigned char* bytes = Span(data, offset, count);
    return static_cast<int>(recv(handle.load(), bytes, count, 0));
}

int KpSocket::SendTo(KpDataBuffer* data, int offset, int count, KpSocketAddress* address) {
    unsigned char* bytes = Span(data, offset, count);
    return static_cast<int>(sendto(handle.load(), bytes, count, MSG_NOSIGNAL, Raw(&address->address), sizeof address->address));
}

int KpSocket::ReceiveFrom(KpDataBuffer* data, int offset, int count, KpSocketAddress* address) {
    unsigned char* bytes = Span(data, offset, count);
    sockaddr_in sender{};
    socklen_t size = sizeof sender;
    int received = static_cast<int>(recvfrom(handle.load(), bytes, count, 0, Raw(&sender), &size));
    if (received >= 0) address->Set(sender);
    return received;
}

void KpSocket::GetLocalAddress(KpSocketAddress* address) {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (getsockname(handle.load(), Raw(&local), &size) != 0) local = sockaddr_in{};
    address->Set(local);
}

void KpSocket::GetRemoteAddress(KpSocketAddress* address) {
    sockaddr_in remote{};
    socklen_t size = sizeof remote;
    if (getpeername(handle.load(), Raw(&remote), &size) != 0) remote = sockaddr_in{};
    address->Set(remote);
}
