#pragma once

#include <netinet/in.h>

#include "runtime/gc.h"

// IPv4, the port in network order, and the host's first address; 0.0.0.0
// when the host is empty, too long or cannot be resolved.
void setsockaddr(sockaddr_in* address, const String& host, int port);

// An IPv4 socket address with its dotted host and port, derived on demand.
class KpSocketAddress : public Object {
public:
    sockaddr_in address{};
    bool validated = false;
    String host;
    int port = 0;

    void Set(const String& newHost, int newPort);
    void Set(KpSocketAddress* other);
    void Set(const sockaddr_in& other);
    // Derives `host` and `port` from the address once after each Set.
    void Validate();
};
