#pragma once
#include <string>

// The per-user directory where serial ports are published under the names comN:
// $GATEWAY_PORT_DIR when set, else $XDG_RUNTIME_DIR/gateway-ports, else $HOME/.gateway/ports.
// Empty only when none of the three variables is set.
std::string PortDirectory();

// The path a device name opens. "ComN" in any letter case (N a positive decimal number) becomes
// the link comN of the port directory when that link exists, else /dev/ttyS{N-1}; every other
// name, absolute paths included, comes back unchanged.
std::string ResolvePortName(const std::string& deviceName);
