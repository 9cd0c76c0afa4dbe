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

KpSocket::Use::Use(KpSocket* socket) : socket(socket) {
    std::lock_guard<std::mutex> hold(socket->uses);
    handle = socket->handle.load();
    if (handle >= 0) ++socket->callsInFlight;
}

KpSocket::Use::~Use() {
    if (handle < 0) return;
    std::lock_guard<std::mutex> hold(socket->uses);
    if (--socket->callsInFlight > 0) return;
    for (int closing : socket->closeWhenIdle) close(closing);
    socket->closeWhenIdle.clear();
}

// A descriptor held by a call stays open, so no later Open can take its
// number: a different handle means this one was closed.
bool KpSocket::Use::CutShort() const { return socket->handle.load() != handle; }

KpSocket::~KpSocket() {
    Close();
    int unclaimed = acceptedHandle.exchange(-1);
    if (unclaimed >= 0) close(unclaimed);
}

bool KpSocket::Open(int newProtocol) {
    if (handle.load() >= 0) return false;
    if (newProtocol != kStream && newProtocol != kServer && newProtocol != kDatagram) return false;
    int opened = NewHandle(newProtocol);
    if (opened < 0) return false;
    handle.store(opened);
    protocol = newProtocol;
    return true;
}

// Shutting down wakes a call blocked on the socket, which then reports -1.
void KpSocket::Close() {
    std::lock_guard<std::mutex> hold(uses);
    int closing = handle.exchange(-1);
    if (closing < 0) return;
    shutdown(closing, SHUT_RDWR);
    if (callsInFlight > 0) {
        closeWhenIdle.push_back(closing);
    } else {
        close(closing);
    }
}

bool KpSocket::Bind(const String& host, int port) {
    sockaddr_in address;
    setsockaddr(&address, host, port);
    Use call(this);
    return bind(call.Handle(), Raw(&address), sizeof address) == 0;
}

// An unresolved host leaves 0.0.0.0, which Linux would take for this
// machine; such a connect fails instead.
bool KpSocket::Connect(const String& host, int port) {
    sockaddr_in address;
    setsockaddr(&address, host, port);
    if (address.sin_addr.s_addr == htonl(INADDR_ANY)) return false;
    Use call(this);
    bool connected = connect(call.Handle(), Raw(&address), sizeof address) == 0;
    return connected && !call.CutShort();
}

bool KpSocket::Listen(int backlog) {
    Use call(this);
    return listen(call.Handle(), backlog) == 0;
}

bool KpSocket::Accept() {
    Use call(this);
    int connection = accept4(call.Handle(), nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) return false;
    int unclaimed = acceptedHandle.exchange(connection);
    if (unclaimed >= 0) close(unclaimed);
    return true;
}

KpSocket* KpSocket::Accepted() {
    int connection = acceptedHandle.exchange(-1);
    if (connection < 0) return nullptr;
    auto* accepted = new KpSocket;
    accepted->handle.store(connection);
    accepted->protocol = kStream;
    return accepted;
}

int KpSocket::Send(KpDataBuffer* data, int offset, int count) {
    unsigned char* bytes = Span(data, offset, count);
    Use call(this);
    int sent = static_cast<int>(send(call.Handle(), bytes, count, MSG_NOSIGNAL));
    return call.CutShort() ? -1 : sent;
}

// A receive the close woke reads the end of the stream; it reports -1, as
// a receive on a closed socket does, not 0 as if the peer had closed.
int KpSocket::Receive(KpDataBuffer* data, int offset, int count) {
    unsigned char* bytes = Span(data, offset, count);
    Use call(this);
    int received = static_cast<int>(recv(call.Handle(), bytes, count, 0));
    return call.CutShort() ? -1 : received;
}

int KpSocket::SendTo(KpDataBuffer* data, int offset, int count, KpSocketAddress* address) {
    unsigned char* bytes = Span(data, offset, count);
    Use call(this);
    int sent = static_cast<int>(
        sendto(call.Handle(), bytes, count, MSG_NOSIGNAL, Raw(&address->address), sizeof address->address));
    return call.CutShort() ? -1 : sent;
}

int KpSocket::ReceiveFrom(KpDataBuffer* data, int offset, int count, KpSocketAddress* address) {
    unsigned char* bytes = Span(data, offset, count);
    sockaddr_in sender{};
    socklen_t size = sizeof sender;
    Use call(this);
    int received = static_cast<int>(recvfrom(call.Handle(), bytes, count, 0, Raw(&sender), &size));
    if (call.CutShort()) return -1;
    if (received >= 0) address->Set(sender);
    return received;
}

void KpSocket::GetLocalAddress(KpSocketAddress* address) {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    Use call(this);
    if (getsockname(call.Handle(), Raw(&local), &size) != 0) local = sockaddr_in{};
    address->Set(local);
}

void KpSocket::GetRemoteAddress(KpSocketAddress* address) {
    sockaddr_in remote{};
    socklen_t size = sizeof remote;
    Use call(this);
    if (getpeername(call.Handle(), Raw(&remote), &size) != 0) remote = sockaddr_in{};
    address->Set(remote);
}
