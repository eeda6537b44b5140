#pragma once

#include "core/Configuration.h"
#include "core/DirectLink.h"
#include "core/DownloadProgress.h"
#include "core/TransferRate.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

// The one place where the controller's Qt strings meet the core's UTF-8 strings.
namespace reelhound {

inline std::string toStd(const QString& text) {
    return text.toStdString();
}

inline QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}

inline std::vector<std::string> toStd(const QStringList& list) {
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(list.size()));
    for (const auto& entry : list)
        result.push_back(toStd(entry));
    return result;
}

inline QStringList toQt(const std::vector<std::string>& list) {
    QStringList result;
    result.reserve(static_cast<qsizetype>(list.size()));
    for (const auto& entry : list)
        result.push_back(toQt(entry));
    return result;
}

// "Reelhound": the alerts' title, the settings' owner, the process's name.
inline QString applicationName() {
    return QString::fromUtf8(config::kApplicationName.data(),
                             static_cast<qsizetype>(config::kApplicationName.size()));
}

// The core's texts for the person, translated here at the edge.
inline QString translatedDirectLinkProblem(DirectLinkProblem problem) {
    return QCoreApplication::translate("DirectLink", describeDirectLinkProblem(problem).c_str());
}

// The count that picks a translation's plural form. Qt takes it as an int, a
// download can pass 2^31 bytes; plural rules look only at the last digits and
// at small numbers, so a larger count keeps its last six digits above a million.
inline int pluralFormCount(std::int64_t count) {
    if (count <= std::numeric_limits<int>::max())
        return static_cast<int>(count);
    return static_cast<int>(count % 1'000'000 + 1'000'000);
}

// The number format that goes with the language the texts are shown in: each
// translation names its locale, so numbers follow the words, not the
// system's regional settings. Without grouping, as counts of bytes are shown.
inline QLocale textLocale() {
    //: The locale whose number format this translation uses, such as "de".
    QLocale locale(QCoreApplication::translate("Numbers", "en"));
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

// The progress line in the language's number format; in English exactly the
// core's digits.
inline QString downloadProgressLine(const DownloadProgress& progress) {
    const QChar point = textLocale().decimalPoint().front();
    const QString line = QCoreApplication::translate("DownloadProgress", progress.wording, nullptr,
                                                     pluralFormCount(progress.bytesReceived))
                             .arg(QString::fromStdString(progress.bytes));
    return progress.digits.empty()
               ? line
               : line.arg(QString::fromStdString(progress.digits).replace(QLatin1Char('.'), point));
}

// "12.3 of 64.0 MB at 4.2 MB/s, about 12 s left", in the language's format.
inline QString transferRateText(const TransferRateLine& line) {
    const QLocale numbers = textLocale();
    const auto megabytes = [&](double value) { return numbers.toString(value, 'f', 1); };
    QString text = QCoreApplication::translate("DownloadProgress", line.wording)
                       .arg(megabytes(line.receivedMegabytes));
    if (line.wording == kRateText)
        return text.arg(megabytes(line.megabytesPerSecond));
    text = text.arg(megabytes(line.expectedMegabytes), megabytes(line.megabytesPerSecond));
    return line.wording == kRateOfLengthText ? text : text.arg(numbers.toString(line.left));
}

} // namespace reelhound
