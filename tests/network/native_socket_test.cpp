#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <string>
#include <thread>

#include "framework/http/data_buffer.h"
#include "framework/socket/native_socket.h"
#include "framework/socket/socket_address.h"

namespace {

c_DataBuffer* Bytes(const char* text) {
    auto* buffer = (new c_DataBuffer)->m_new(static_cast<int>(std::char_traits<char>::length(text)));
    buffer->p_PokeString(0, String(text), String("ascii"));
    return buffer;
}

KpSocket* Opened(int protocol) {
    auto* socket = new KpSocket;
    EXPECT_TRUE(socket->Open(protocol));
    return socket;
}

int Option(int handle, int level, int name) {
    int value = -1;
    socklen_t size = sizeof value;
    getsockopt(handle, level, name, &value, &size);
    return value;
}

KpSocketAddress* LocalAddress(KpSocket* socket) {
    auto* address = new KpSocketAddress;
    socket->GetLocalAddress(address);
    address->Validate();
    return address;
}

TEST(KpSocket, ListensAcceptsAndCarriesBytes) {
    KpSocket* server = Opened(2);
    ASSERT_TRUE(server->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(server->Listen(1));
    int port = LocalAddress(server)->port;
    KpSocket* client = Opened(1);
    ASSERT_TRUE(client->Connect(String("127.0.0.1"), port));
    ASSERT_TRUE(server->Accept());
    KpSocket* accepted = server->Accepted();
    ASSERT_NE(accepted, nullptr);
    // The connection is handed out once, so only one socket closes it.
    EXPECT_EQ(server->Accepted(), nullptr);

    EXPECT_EQ(client->Send(Bytes("ping!"), 1, 10), 4);
    auto* in = (new c_DataBuffer)->m_new(8);
    EXPECT_EQ(accepted->Receive(in, 2, 8), 4);
    EXPECT_EQ(in->p_PeekString(2, 4, String("ascii")), String("ing!"));

    auto* remote = new KpSocketAddress;
    client->GetRemoteAddress(remote);
    remote->Validate();
    EXPECT_EQ(remote->host, String("127.0.0.1"));
    EXPECT_EQ(remote->port, port);
    for (KpSocket* socket : {server, client, accepted}) socket->Close();
}

// A worker accepts while the main thread polls for the connection.
TEST(KpSocket, ConnectionAcceptedOnAWorkerReachesThePollingThread) {
    KpSocket* server = Opened(2);
    ASSERT_TRUE(server->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(server->Listen(1));
    KpSocket* client = Opened(1);
    ASSERT_TRUE(client->Connect(String("127.0.0.1"), LocalAddress(server)->port));
    std::thread worker([server] { EXPECT_TRUE(server->Accept()); });
    KpSocket* accepted = nullptr;
    while (!accepted) accepted = server->Accepted();
    worker.join();
    EXPECT_GE(accepted->handle.load(), 0);
    for (KpSocket* socket : {server, client, accepted}) socket->Close();
}

// A name goes to the resolver whole: a character beyond Latin-1 does not
// end it early and leave a name that resolves.
TEST(KpSocketAddress, HostNamesKeepEveryCharacter) {
    auto* address = new KpSocketAddress;
    address->Set(String("localhost"), 80);
    address->Validate();
    EXPECT_EQ(address->host, String("127.0.0.1"));
    address->Set(String("localhost") + String::FromChar(0x100) + String("x"), 80);
    address->Validate();
    EXPECT_EQ(address->host, String("0.0.0.0"));
}

TEST(KpSocket, DatagramsNameTheirSender) {
    KpSocket* a = Opened(3);
    KpSocket* b = Opened(3);
    ASSERT_TRUE(a->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(b->Bind(String("127.0.0.1"), 0));
    auto* to = new KpSocketAddress;
    to->Set(LocalAddress(b));
    EXPECT_EQ(a->SendTo(Bytes("hello"), 0, 5, to), 5);
    auto* in = (new c_DataBuffer)->m_new(16);
    auto* from = new KpSocketAddress;
    EXPECT_EQ(b->ReceiveFrom(in, 0, 16, from), 5);
    from->Validate();
    EXPECT_EQ(from->port, LocalAddress(a)->port);
    EXPECT_EQ(in->p_PeekString(0, 5, String("ascii")), String("hello"));
    a->Close();
    b->Close();
}

// An unresolved host leaves 0.0.0.0, which must not reach this machine's
// listeners.
TEST(KpSocket, ConnectToTheEmptyAddressFails) {
    KpSocket* server = Opened(2);
    ASSERT_TRUE(server->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(server->Listen(1));
    KpSocket* client = Opened(1);
    EXPECT_FALSE(client->Connect(String(), LocalAddress(server)->port));
    server->Close();
    client->Close();
}

TEST(KpSocket, OpensOnceAndFailsQuietlyWhenClosed) {
    KpSocket* socket = Opened(1);
    EXPECT_FALSE(socket->Open(1));
    socket->Close();
    EXPECT_EQ(socket->handle.load(), -1);
    EXPECT_FALSE(socket->Open(4));
    EXPECT_EQ(socket->Send(Bytes("x"), 0, 1), -1);
    KpSocketAddress* address = LocalAddress(socket);
    EXPECT_EQ(address->host, String("0.0.0.0"));
    EXPECT_EQ(address->port, 0);
}

// Closing while a worker's call holds the descriptor shuts the socket down
// but keeps the descriptor's number taken until the call ends; freed at
// once, a new socket could get it and the call would act on that socket.
TEST(KpSocket, ACallInFlightKeepsItsDescriptorUntilItEnds) {
    KpSocket* socket = Opened(1);
    int number = socket->handle.load();
    KpSocket* next = nullptr;
    {
        KpSocket::Use call(socket);
        socket->Close();
        EXPECT_EQ(socket->handle.load(), -1);
        EXPECT_TRUE(call.CutShort());
        next = Opened(1);
        EXPECT_NE(next->handle.load(), number);
        EXPECT_EQ(Option(number, SOL_SOCKET, SO_TYPE), SOCK_STREAM);
    }
    EXPECT_EQ(fcntl(number, F_GETFD), -1);
    KpSocket::Use late(socket);
    EXPECT_EQ(late.Handle(), -1);
    next->Close();
}

TEST(KpSocketAddress, DerivesDottedHostAndPortAfterEachSet) {
    auto* address = new KpSocketAddress;
    address->Set(String("127.1.2.3"), 8080);
    address->Validate();
    EXPECT_EQ(address->host, String("127.1.2.3"));
    EXPECT_EQ(address->port, 8080);
    address->Set(String(), 80);
    EXPECT_FALSE(address->validated);
    address->Validate();
    EXPECT_EQ(address->host, String("0.0.0.0"));
    EXPECT_EQ(address->port, 80);
}

}  // namespace
