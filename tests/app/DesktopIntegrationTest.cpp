#include "app/DesktopIntegration.h"
#include "app/NetworkFixture.h"
#include "support/RunProgram.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QWebEngineView>

using namespace reelhound;
using reelhound::testing::NetworkFixture;
using reelhound::testing::runProgram;

using LinkDrop = NetworkFixture;

namespace {

const QString kId = QString::fromLatin1(kDesktopId);

QString desktopEntryValue(const QString& path, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return {};
}

// The widget a drop over `over` reaches: the deepest one there that takes drops.
QWidget* dropTargetOver(QWidget* over) {
    QWidget* window = over->window();
    QWidget* target = window->childAt(over->mapTo(window, over->rect().center()));
    while (target && target != window && !target->acceptDrops())
        target = target->parentWidget();
    return target ? target : window;
}

struct DropResult {
    bool enterAccepted = false;
    bool dropAccepted = false;
};

DropResult dropOn(QWidget* target, const QString& format, const QByteArray& payload) {
    QMimeData data;
    data.setData(format, payload);
    const QPointF at = target->rect().center();
    const auto actions = Qt::CopyAction | Qt::LinkAction;
    QDragEnterEvent enter(at.toPoint(), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted())
        QApplication::sendEvent(target, &drop);
    return {enter.isAccepted(), enter.isAccepted() && drop.isAccepted()};
}

} // namespace

TEST(InstallTest, installedTree_holdsTheProgramAndItsDesktopFilesAndValidates) {
    QTemporaryDir destdir;
    ASSERT_TRUE(destdir.isValid());
    qputenv("DESTDIR", destdir.path().toLocal8Bit());
    const auto install = runProgram(QStringLiteral(REELHOUND_CMAKE_COMMAND),
                                    {"--install", REELHOUND_TEST_BINARY_DIR, "--prefix", "/usr"});
    qunsetenv("DESTDIR");
    ASSERT_EQ(install.exitCode, 0) << install.standardOutput.toStdString();
    const QDir usr(destdir.filePath("usr"));

    EXPECT_TRUE(QFileInfo(usr.filePath("bin/reelhound")).isExecutable());
    EXPECT_TRUE(QFileInfo(usr.filePath("share/reelhound/ffmpeg")).isExecutable());
    for (const char* language : {"en", "de", "fr", "es"}) {
        EXPECT_TRUE(QFileInfo::exists(
            usr.filePath(QStringLiteral("share/reelhound/translations/reelhound_%1.qm").arg(language))))
            << language;
    }
    EXPECT_TRUE(
        QFileInfo::exists(usr.filePath("share/icons/hicolor/scalable/apps/" + kId + ".svg")));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString png =
            QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId);
        EXPECT_EQ(QImage(usr.filePath(png)).size(), QSize(size, size)) << png.toStdString();
    }

    // The launcher entry starts the installed program with the installed icon.
    const QString desktopFile = usr.filePath("share/applications/" + kId + ".desktop");
    const QString metainfo = usr.filePath("share/metainfo/" + kId + ".metainfo.xml");
    EXPECT_EQ(desktopEntryValue(desktopFile, "Exec"), "reelhound");
    EXPECT_EQ(desktopEntryValue(desktopFile, "Icon"), kId);

    const std::vector<std::pair<QString, QStringList>> validators = {
        {"desktop-file-validate", {desktopFile}},
        {"appstreamcli", {"validate", "--no-net", metainfo}},
        // The metainfo file together with the launcher entry it names.
        {"appstreamcli", {"validate-tree", "--no-net", usr.path()}},
    };
    for (const auto& [program, arguments] : validators) {
        const auto result = runProgram(program, arguments);
        EXPECT_EQ(result.exitCode, 0)
            << program.toStdString() << ' ' << arguments.first().toStdString() << ":\n"
            << result.standardOutput.toStdString();
    }
}

TEST_F(LinkDrop, droppedAddress_fillsTheFieldAndFetchesNothingUntilGet) {
    launchWithShortLimits();
    const QStringList recentBefore = controller->recentURLArray();
    const QUrl pageBefore = ui().RLHDWebView->url();
    struct Case {
        const char* format;
        QByteArray payload;
        QString expected; // empty: the drag is refused and the field keeps its text
    };
    const std::vector<Case> cases = {
        {"text/uri-list", "http://www.vistaro.com/watch?v=demo\r\n",
         "http://www.vistaro.com/watch?v=demo"},
        {"text/plain", "\n  www.vistaro.com/watch?v=demo&feature=x  \nmore text",
         "www.vistaro.com/watch?v=demo&feature=x"},
        {"text/uri-list", "file:///tmp/video.flv\r\n", {}},
        {"text/plain", " \n ", {}},
    };
    // Over a control that takes no drops, and over the page view, which must not follow it.
    for (QWidget* over :
         {static_cast<QWidget*>(ui().downloadGroup), static_cast<QWidget*>(ui().RLHDWebView)}) {
        QWidget* target = dropTargetOver(over);
        for (const Case& c : cases) {
            SCOPED_TRACE(over->objectName().toStdString() + " " + c.payload.toStdString());
            ui().URLEntryTextField->setText("earlier text");
            const DropResult result = dropOn(target, c.format, c.payload);
            EXPECT_EQ(result.enterAccepted, !c.expected.isEmpty());
            EXPECT_EQ(result.dropAccepted, !c.expected.isEmpty());
            EXPECT_EQ(ui().URLEntryTextField->text(),
                      c.expected.isEmpty() ? QString("earlier text") : c.expected);
            ui().URLEntryTextField->undo(); // one step, as after a paste
            EXPECT_EQ(ui().URLEntryTextField->text(), "earlier text");
        }
    }
    QTest::qWait(200);
    EXPECT_TRUE(site.requestedURLs().isEmpty());
    EXPECT_EQ(ui().RLHDWebView->url(), pageBefore);
    EXPECT_FALSE(controller->video_id().has_value());
    EXPECT_EQ(controller->recentURLArray(), recentBefore);

    dropOn(dropTargetOver(ui().downloadGroup), "text/uri-list",
           "http://www.vistaro.com/watch?v=demo");
    ASSERT_TRUE(ui().URLEntryTextField->hasFocus());
    QTest::keyClick(ui().URLEntryTextField, Qt::Key_Return);
    EXPECT_EQ(controller->video_id(), QString("demo"));
}
