#pragma once

class QTcpSocket;

namespace reelhound {

class StubSite;

// Serves one client connection as HTTP/1.1: reads one request, records it
// with the site, writes the answer at the pace its fault mode asks for and
// closes. The connection becomes a child of the site.
void serveConnection(StubSite& site, QTcpSocket* socket);

} // namespace reelhound
