#include "support/RecordingDesktopServices.h"

#include <QTimer>

#include <utility>

namespace reelhound::testing {

void RecordingDesktopServices::runAlert(const QString& title, const QString& message,
                                        const QString& buttonTitle) {
    alerts.push_back({title, message, buttonTitle});
}

bool RecordingDesktopServices::runConfirmation(const QString& title, const QString& message,
                                               const QString& acceptTitle,
                                               const QString& cancelTitle) {
    questions.push_back({title, message, acceptTitle, cancelTitle});
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

bool RecordingDesktopServices::checkReachabilityByName(const char* host, std::uint32_t* flags) {
    probedHosts.push_back(QString::fromUtf8(host));
    *flags = reachabilityFlags;
    return reachabilityDecided;
}

void RecordingDesktopServices::beginSavePanel(QWidget* parent, const FilePanelOptions& options,
                                              FilePanelCompletion completion) {
    savePanel = Panel{parent, options, std::move(completion)};
}

void RecordingDesktopServices::beginOpenPanel(QWidget* parent, const FilePanelOptions& options,
                                              FilePanelCompletion completion) {
    openPanel = Panel{parent, options, std::move(completion)};
}

namespace {

void answer(std::optional<RecordingDesktopServices::Panel>& panel, int returnCode,
            const QString& path) {
    if (!panel)
        return;
    const auto completion = std::move(panel->completion);
    panel.reset();
    completion(returnCode, path);
}

} // namespace

void RecordingDesktopServices::answerSavePanel(int returnCode, const QString& path) {
    answer(savePanel, returnCode, path);
}

void RecordingDesktopServices::answerOpenPanel(int returnCode, const QString& path) {
    answer(openPanel, returnCode, path);
}

bool RecordingDesktopServices::logContains(const QString& text) const {
    for (const auto& line : logLines) {
        if (line.contains(text))
            return true;
    }
    return false;
}

void RecordingDesktopServices::beginProxyCredentialsPanel(QWidget* /*parent*/,
                                                          const ProxyCredentialsQuestion& question,
                                                          ProxyCredentialsCompletion completion) {
    proxyQuestions.push_back(question);
    std::optional<ProxyCredentialsAnswer> answer;
    if (!proxyAnswers.empty()) {
        answer = proxyAnswers.front();
        proxyAnswers.pop_front();
    }
    QTimer::singleShot(0, [completion, answer] { completion(answer); });
}

} // namespace reelhound::testing
