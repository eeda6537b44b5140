#include "platform/ProxyCredentials.h"

#include <gtest/gtest.h>
#include <memory>

using namespace reelhound;

namespace {

// The session store with an asker that keeps the questions for the test to answer.
class SessionCredentials : public ::testing::Test {
protected:
    void SetUp() override {
        store.forgetAll();
        store.setAsker([this](const ProxyCredentialsQuestion& question,
                              ProxyCredentialsCompletion completion) {
            questions.push_back(question);
            pending = std::move(completion);
        });
    }
    void TearDown() override {
        store.setAsker({});
        store.forgetAll();
    }

    ProxyCredentials& store = ProxyCredentials::session();
    std::vector<ProxyCredentialsQuestion> questions;
    ProxyCredentialsCompletion pending;
};

const ProxyCredential kAlice{QStringLiteral("alice"), QStringLiteral("s3cret")};
const ProxyCredential kFromAddress{QStringLiteral("bob"), QStringLiteral("pw")};

} // namespace

TEST_F(SessionCredentials, requestsWaitingTogether_shareOneQuestionAndItsAnswer) {
    QObject first;
    auto second = std::make_unique<QObject>();
    int firstCalls = 0;
    std::optional<ProxyCredential> firstGot;
    bool secondCalled = false;
    store.ask("proxy", {}, &first, [&](std::optional<ProxyCredential> c) {
        ++firstCalls;
        firstGot = c;
    });
    store.ask("proxy", {}, second.get(), [&](std::optional<ProxyCredential>) { secondCalled = true; });
    second.reset(); // a request that went meanwhile hears nothing
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_FALSE(questions[0].refused);
    pending(ProxyCredentialsAnswer{kAlice, true});
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(firstGot, kAlice);
    EXPECT_FALSE(secondCalled);
}

TEST_F(SessionCredentials, answers_serveAsRememberedOrOnce) {
    struct Row {
        const char* name;
        std::optional<ProxyCredentialsAnswer> answer;
        ProxyCredential firstUse;
        ProxyCredential laterUse;
    };
    const Row rows[] = {
        {"remembered", ProxyCredentialsAnswer{kAlice, true}, kAlice, kAlice},
        {"once", ProxyCredentialsAnswer{kAlice, false}, kAlice, kFromAddress},
        {"cancelled", std::nullopt, kFromAddress, kFromAddress},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        store.forgetAll();
        QObject receiver;
        store.ask("proxy", kFromAddress, &receiver, [](std::optional<ProxyCredential>) {});
        EXPECT_TRUE(questions.back().refused); // what the address carried was tried
        EXPECT_EQ(questions.back().user, kFromAddress.user);
        pending(row.answer);
        EXPECT_EQ(store.takeCredentialFor("proxy", kFromAddress), row.firstUse);
        EXPECT_EQ(store.takeCredentialFor("proxy", kFromAddress), row.laterUse);
        EXPECT_EQ(store.credentialFor("other proxy", {}), ProxyCredential{});
    }
}

// A proxy is named with its port, an IPv6 address in brackets so the port
// stays readable.
TEST(ProxyName, carriesHostAndPort) {
    using reelhound::proxyName;
    EXPECT_EQ(proxyName(QNetworkProxy(QNetworkProxy::HttpProxy, "proxy.example.org", 3128)),
              "proxy.example.org:3128");
    EXPECT_EQ(proxyName(QNetworkProxy(QNetworkProxy::HttpProxy, "::1", 8080)), "[::1]:8080");
}
