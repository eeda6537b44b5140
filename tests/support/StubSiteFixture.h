#pragma once

#include "stub-site/StubSite.h"

#include <QNetworkProxy>
#include <gtest/gtest.h>

namespace reelhound::testing {

// A fixture (on top of Base) with the local stand-in of the site listening and
// set as the network stack's proxy for the length of each test.
template <class Base = ::testing::Test>
class StubSiteFixture : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        ASSERT_TRUE(site.listen()) << site.errorString().toStdString();
        QNetworkProxy::setApplicationProxy(site.proxy());
    }
    void TearDown() override {
        QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::NoProxy));
        Base::TearDown();
    }

    // Points the network stack at a proxy port on loopback that nobody listens on.
    static void useClosedProxy() {
        quint16 closedPort = 0;
        {
            StubSite gone;
            ASSERT_TRUE(gone.listen());
            closedPort = gone.port();
        }
        QNetworkProxy::setApplicationProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), closedPort));
    }

    StubSite site;
};

} // namespace reelhound::testing
