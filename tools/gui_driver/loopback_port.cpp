#include "tools/gui_driver/loopback_port.h"

#include <winsock2.h>

namespace gui {

LoopbackPort::LoopbackPort(bool listening) {
    WSADATA winsock{};
    WSAStartup(MAKEWORD(2, 2), &winsock);
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), size);
    if (listening)
        listen(s, 8);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    m_socket = s;
    m_port = ntohs(address.sin_port);
}

LoopbackPort::~LoopbackPort() {
    closesocket(SOCKET(m_socket));
}

} // namespace gui
