// Runs the stand-in of the video site and the link service for demos:
//   reelhound-stub-site --port 8080
//   http_proxy=http://127.0.0.1:8080 reelhound
#include "stub-site/StubSite.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("reelhound-stub-site"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Local stand-in for the video site and the link service, used as an "
                       "HTTP proxy on 127.0.0.1."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Port to listen on (0 picks a free one)."),
                                        QStringLiteral("N"), QStringLiteral("8080"));
    parser.addOption(portOption);
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    bool valid = false;
    const uint port = parser.value(portOption).toUInt(&valid);
    if (!valid || port > 65535) {
        err << "reelhound-stub-site: not a port number: " << parser.value(portOption) << Qt::endl;
        return 2;
    }

    reelhound::StubSite site;
    if (!site.listen(static_cast<quint16>(port))) {
        err << "reelhound-stub-site: cannot listen on 127.0.0.1:" << port << ": "
            << site.errorString() << Qt::endl;
        return 1;
    }
    if (site.videoFilePath().isEmpty())
        err << "reelhound-stub-site: ffmpeg could not make the test video; ordinary video "
               "requests will fail"
            << Qt::endl;

    QObject::connect(&site, &reelhound::StubSite::requestReceived, &site,
                     [&out](const QString& url) { out << "request " << url << Qt::endl; });
    out << "Listening on 127.0.0.1:" << site.port() << Qt::endl
        << "Use it as the HTTP proxy: http_proxy=http://127.0.0.1:" << site.port() << Qt::endl
        << "Then enter for example: http://www.vistaro.com/watch?v=demo" << Qt::endl;
    return QCoreApplication::exec();
}
