#include "framework/socket/socket_address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <string>

#include "runtime/system_text.h"

void setsockaddr(sockaddr_in* address, const String& host, int port) {
    *address = sockaddr_in{};
    address->sin_family = AF_INET;
    address->sin_port = htons(static_cast<uint16_t>(port));
    address->sin_addr.s_addr = htonl(INADDR_ANY);
    if (host.Length() == 0 || host.Length() >= 1024) return;
    std::string name = SystemBytes(host);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) return;
    address->sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
}

void KpSocketAddress::Set(const String& newHost, int newPort) {
    setsockaddr(&address, newHost, newPort);
    validated = false;
}

void KpSocketAddress::Set(KpSocketAddress* other) {
    address = other->address;
    validated = false;
}

void KpSocketAddress::Set(const sockaddr_in& other) {
    address = other;
    validated = false;
}

void KpSocketAddress::Validate() {
    if (validated) return;
    char dotted[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address.sin_addr, dotted, sizeof dotted);
    host = String(dotted);
    port = ntohs(address.sin_port);
    validated = true;
}
