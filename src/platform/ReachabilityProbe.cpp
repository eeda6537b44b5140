#include "platform/ReachabilityProbe.h"

#include "core/Configuration.h"
#include "core/Reachability.h"
#include "platform/FileDescriptor.h"

#include <QNetworkProxyFactory>
#include <QUrl>
#include <string>

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace reelhound {

bool checkReachabilityByName(const char* host, std::uint32_t* flags) {
    if (host == nullptr || flags == nullptr)
        return false;
    *flags = 0;

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* addresses = nullptr;
    const int status = getaddrinfo(host, "80", &hints, &addresses);
    if (status == EAI_AGAIN || status == EAI_SYSTEM || status == EAI_MEMORY)
        return false; // could not decide
    if (status != 0)
        return true; // the name does not resolve: decided, and not reachable

    for (const addrinfo* address = addresses; address != nullptr; address = address->ai_next) {
        const FileDescriptor fd(
            socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol));
        if (fd && connect(fd.get(), address->ai_addr, address->ai_addrlen) == 0) {
            *flags = kReachabilityFlagReachable;
            break;
        }
    }
    freeaddrinfo(addresses);
    return true;
}

std::string reachabilityProbeHost() {
    const std::string probeHost(config::kReachabilityProbeHost);
    const QNetworkProxyQuery query(
        QUrl(QStringLiteral("http://%1/").arg(QString::fromStdString(probeHost))));
    for (const QNetworkProxy& proxy : QNetworkProxyFactory::proxyForQuery(query)) {
        if (proxy.type() == QNetworkProxy::NoProxy || proxy.type() == QNetworkProxy::DefaultProxy)
            break; // the first choice is a direct connection
        if (!proxy.hostName().isEmpty())
            return proxy.hostName().toStdString();
    }
    return probeHost;
}

bool networkReachableWithoutAnythingSpecialHappening(const ReachabilityCheck& check) {
    std::uint32_t flags = 0;
    const std::string host = reachabilityProbeHost();
    const bool decided = check(host.c_str(), &flags);
    return isNetworkReachable(decided, flags);
}

} // namespace reelhound
