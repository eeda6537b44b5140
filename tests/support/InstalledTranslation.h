#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

namespace reelhound::testing {

// A language's compiled file, installed for as long as the value lives.
class InstalledTranslation {
public:
    explicit InstalledTranslation(const QString& language) {
        loaded_ = translator_.load(QStringLiteral("reelhound_") + language,
                                   QStringLiteral(REELHOUND_RESOURCE_BUILD_DIR "/translations"));
        if (loaded_)
            QCoreApplication::installTranslator(&translator_);
    }
    ~InstalledTranslation() { QCoreApplication::removeTranslator(&translator_); }
    InstalledTranslation(const InstalledTranslation&) = delete;
    InstalledTranslation& operator=(const InstalledTranslation&) = delete;

    bool loaded() const { return loaded_; }
    const QTranslator& translator() const { return translator_; }

private:
    QTranslator translator_;
    bool loaded_ = false;
};

} // namespace reelhound::testing
