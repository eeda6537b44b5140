#pragma once

#include "app/DesktopServices.h"
#include "support/QtPrinters.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

namespace reelhound::testing {

// Desktop services that talk to nobody: alerts return at once and are
// recorded, panels wait for the test to answer them, the log is kept in memory.
class RecordingDesktopServices final : public DesktopServices {
public:
    struct Alert {
        QString title;
        QString message;
        QString buttonTitle;
    };
    struct Question {
        QString title;
        QString message;
        QString acceptTitle;
        QString cancelTitle;
    };
    struct Panel {
        QWidget* parent = nullptr;
        FilePanelOptions options;
        FilePanelCompletion completion;
    };

    void runAlert(const QString& title, const QString& message,
                  const QString& buttonTitle) override;
    // Answered from answers, front first; with none left, the question is
    // answered as someone who goes ahead would.
    bool runConfirmation(const QString& title, const QString& message, const QString& acceptTitle,
                         const QString& cancelTitle) override;
    void beep() override { ++beeps; }
    void log(const QString& message) override { logLines.push_back(message); }
    bool checkReachabilityByName(const char* host, std::uint32_t* flags) override;
    void beginSavePanel(QWidget* parent, const FilePanelOptions& options,
                        FilePanelCompletion completion) override;
    void beginOpenPanel(QWidget* parent, const FilePanelOptions& options,
                        FilePanelCompletion completion) override;
    void showAbout(QWidget*, const QString& title, const QString& text) override {
        abouts.push_back({title, text, {}});
    }
    void showInFolder(const QString& path) override { shownInFolder << path; }
    // Answered from proxyAnswers, front first, on the next turn of the event
    // loop (the real one does not hold up the window either); with none left,
    // or with an empty answer, as Cancel.
    void beginProxyCredentialsPanel(QWidget* parent, const ProxyCredentialsQuestion& question,
                                    ProxyCredentialsCompletion completion) override;

    // Answers the panel that is open (and closes it): a non-zero code confirms.
    void answerSavePanel(int returnCode, const QString& path = {});
    void answerOpenPanel(int returnCode, const QString& path = {});

    bool logContains(const QString& text) const;

    // What the reachability probe says.
    bool reachabilityDecided = true;
    std::uint32_t reachabilityFlags = 2;
    QStringList probedHosts;

    std::vector<Alert> alerts;
    std::vector<Alert> abouts;
    std::vector<Question> questions;
    std::deque<bool> answers;
    std::vector<ProxyCredentialsQuestion> proxyQuestions;
    std::deque<std::optional<ProxyCredentialsAnswer>> proxyAnswers;
    int beeps = 0;
    QStringList logLines;
    std::optional<Panel> savePanel;
    std::optional<Panel> openPanel;
    QStringList shownInFolder;
};

} // namespace reelhound::testing
