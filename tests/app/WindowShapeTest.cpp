#include "app/NetworkFixture.h"
#include "support/InstalledTranslation.h"
#include "support/RunProgram.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <QWebEngineView>
#include <map>
#include <optional>

using namespace reelhound;
using reelhound::testing::ApplicationFixture;
using reelhound::testing::InstalledTranslation;
using reelhound::testing::NetworkFixture;
using reelhound::testing::runEventLoopUntil;

using WindowShape = NetworkFixture;
// Also run at twice the scale on a 1280x1000 screen (tests/CMakeLists.txt);
// the offscreen screen is 800x600 otherwise, smaller than the window's design.
using SmallScreen = ApplicationFixture;

namespace {

// What a person reads on or beside a control: the button's title, or the
// label that names it, without its key marker, colon or ellipsis.
QString visibleWords(QString text) {
    text.remove(QLatin1Char('&'));
    for (const QString& tail : {QStringLiteral("..."), QStringLiteral(":")})
        if (text.endsWith(tail))
            text.chop(tail.size());
    return text.trimmed();
}

QString visibleTextOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return visibleWords(button->text());
    for (QLabel* label : widget->window()->findChildren<QLabel*>())
        if (label->buddy() == widget)
            return visibleWords(label->text());
    // The page view's stop: the group it shows.
    if (qobject_cast<QWebEngineView*>(widget) || qobject_cast<QWebEngineView*>(widget->parentWidget())) {
        for (QWidget* w = widget; w; w = w->parentWidget())
            if (auto* group = qobject_cast<QGroupBox*>(w))
                return group->title();
    }
    return {};
}

// Every node of the accessible tree under the interface, down to the page
// view. The nodes inside it are made by the web engine's own code, which
// carries no type information for the sanitizers' checks of every call on
// them; the widget it draws with is checked by its name below.
void collectNodes(QAccessibleInterface* node, QList<QAccessibleInterface*>& into,
                  const QWidget* pageView) {
    if (!node || into.contains(node))
        return;
    into << node;
    if (node->object() == pageView)
        return;
    for (int i = 0; i < node->childCount(); ++i)
        collectNodes(node->child(i), into, pageView);
}

// Rows of geometry, as the eye reads: by the middle of each control.
bool readsBefore(QWidget* a, QWidget* b) {
    const QPoint pa = a->mapTo(a->window(), a->rect().center());
    const QPoint pb = b->mapTo(b->window(), b->rect().center());
    const int rowTolerance = a->fontMetrics().height();
    if (std::abs(pa.y() - pb.y()) > rowTolerance)
        return pa.y() < pb.y();
    return pa.x() < pb.x();
}

} // namespace

// In English and in every language shipped.
class AccessibleTree : public NetworkFixture, public ::testing::WithParamInterface<QString> {};

TEST_P(AccessibleTree, everyControlIsNamedByItsVisibleWordsAndReachedInReadingOrder) {
    std::optional<InstalledTranslation> language;
    if (GetParam() != "en") {
        language.emplace(GetParam());
        ASSERT_TRUE(language->loaded());
    }
    launch();
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=demo"));
    controller->setConversionSettingsEnabled(true);
    ui().convertFLVButton->setEnabled(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // The page view makes the widget it draws with as the page loads.
    ASSERT_TRUE(runEventLoopUntil([&] { return ui().RLHDWebView->focusProxy() != nullptr; }));
    QCoreApplication::processEvents();

    QList<QAccessibleInterface*> nodes;
    collectNodes(QAccessible::queryAccessibleInterface(window.get()), nodes, ui().RLHDWebView);
    int controls = 0;
    for (QAccessibleInterface* node : nodes) {
        auto* widget = qobject_cast<QWidget*>(node->object());
        if (!widget || !widget->isVisibleTo(window.get()))
            continue;
        const bool focusable = node->state().focusable;
        const bool actionable = node->actionInterface() &&
                                !node->actionInterface()->actionNames().isEmpty();
        if (!focusable && !actionable)
            continue;
        ++controls;
        const QString name = node->text(QAccessible::Name);
        const QString who = widget->objectName().isEmpty() ? widget->metaObject()->className()
                                                            : widget->objectName();
        EXPECT_FALSE(name.isEmpty()) << who.toStdString();
        // A pop-up too is named by its label; its current item is its value.
        const QString words = visibleTextOf(widget);
        EXPECT_TRUE(name.contains(words, Qt::CaseInsensitive))
            << who.toStdString() << ": \"" << name.toStdString() << "\" lacks \""
            << words.toStdString() << "\"";
    }
    EXPECT_GE(controls, 16);
    QAccessibleInterface* format = QAccessible::queryAccessibleInterface(ui().convertToDifferentFormatButton);
    EXPECT_EQ(format->text(QAccessible::Value), ui().convertToDifferentFormatButton->currentText());
    EXPECT_EQ(format->role(), QAccessible::ComboBox);
    // The page view's Tab stop is the widget it draws with: named as the group.
    EXPECT_EQ(ui().RLHDWebView->focusProxy()->accessibleName(), ui().videoPageGroup->title());

    // The Tab chain, from the address field round to it again, follows the
    // reading order inside each group, and every stop has a name.
    QWidget* first = ui().URLEntryTextField;
    QList<QWidget*> chain;
    for (QWidget* w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain()) {
        if (w->isVisibleTo(window.get()) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->focusProxy() == nullptr)
            chain << w;
    }
    chain.prepend(first);
    for (QWidget* w : chain) {
        QString name = w->accessibleName(); // what the page view's widgets announce
        if (!ui().RLHDWebView->isAncestorOf(w)) {
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(node, nullptr);
            name = node->text(QAccessible::Name);
        }
        EXPECT_FALSE(name.isEmpty())
            << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
    const auto groupOf = [](QWidget* w) {
        while (w && !qobject_cast<QGroupBox*>(w))
            w = w->parentWidget();
        return w;
    };
    const auto inPageView = [](QWidget* w) {
        return qobject_cast<QWebEngineView*>(w) || qobject_cast<QWebEngineView*>(w->parentWidget());
    };
    for (qsizetype i = 1; i < chain.size(); ++i) {
        if (groupOf(chain[i - 1]) != groupOf(chain[i]) || inPageView(chain[i - 1]) ||
            inPageView(chain[i]))
            continue;
        EXPECT_TRUE(readsBefore(chain[i - 1], chain[i]))
            << chain[i - 1]->objectName().toStdString() << " before "
            << chain[i]->objectName().toStdString();
    }
}

TEST_F(WindowShape, togglingButtonsKeepTheirWidthAndTheirNeighboursStayPut) {
    launchWithShortLimits();
    chooseDestination(destination());
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=slow"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
    QPushButton* download = ui().FLVGetFLVButton;
    const QRect idleButton = download->geometry();
    const QRect idleField = ui().downloadDestinationTextField->geometry();
    const QRect idleChoose = ui().downloadDestinationSelectButton->geometry();

    download->click();
    ASSERT_TRUE(runEventLoopUntil([&] { return controller->bytesReceived() > 0; }));
    ASSERT_EQ(download->text(), "Cance&l");
    QCoreApplication::processEvents();
    EXPECT_EQ(download->width(), idleButton.width());
    EXPECT_EQ(ui().downloadDestinationTextField->width(), idleField.width());
    EXPECT_EQ(ui().downloadDestinationSelectButton->x(), idleChoose.x());
    download->click();
    ASSERT_TRUE(waitForTransferOutcome());

    // The convert button in its Stop form, on a real run.
    const QString clip = downloads.filePath("clip.flv");
    ASSERT_TRUE(reelhound::testing::makeVideoClip(clip, 30));
    controller->selectConvertFLVFilenameDidEnd(1, clip);
    QPushButton* convert = ui().convertFLVButton;
    QCoreApplication::processEvents();
    const QRect idleConvert = convert->geometry();
    convert->click();
    ASSERT_EQ(convert->text(), "Sto&p");
    QCoreApplication::processEvents();
    EXPECT_EQ(convert->geometry().width(), idleConvert.width());
    EXPECT_EQ(convert->geometry().right(), idleConvert.right());
    convert->click();
    ASSERT_TRUE(reelhound::testing::waitForConversion(*controller));
}

TEST_F(WindowShape, atItsMinimumSizeEveryControlIsTallEnoughToRead) {
    launch();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
    window->resize(minimum);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), minimum);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QLabel*>(w);
        if (!control || !w->isVisibleTo(window.get()) || w->objectName().startsWith("qt_"))
            continue;
        EXPECT_GE(w->height(), w->sizeHint().height())
            << w->metaObject()->className() << " " << w->objectName().toStdString();
        EXPECT_GE(w->width(), w->minimumSizeHint().width())
            << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
    // The address row ends where the recent row does.
    const auto rightEdge = [&](QWidget* w) { return w->mapTo(window.get(), w->rect().topRight()).x(); };
    EXPECT_EQ(rightEdge(ui().URLGetURLButton), rightEdge(ui().recentURLPopUpButton));
    // Idle, the window keeps no empty band for work that is not running.
    EXPECT_FALSE(ui().convertFLVProgressTextField->isVisibleTo(window.get()));
    EXPECT_FALSE(ui().downloadFLVProgressIndicator->isVisibleTo(window.get()));
    EXPECT_FALSE(ui().downloadProgressTextField->isVisibleTo(window.get()));
}

TEST_F(SmallScreen, windowFitsTheAvailableAreaAndScrollsEveryControlIntoView) {
    launch();
    controller->setConversionSettingsEnabled(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
    const QRect available = window->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(window->frameGeometry()))
        << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
        << window->frameGeometry().width() << "x" << window->frameGeometry().height() << " in "
        << available.width() << "x" << available.height();
    EXPECT_LE(window->minimumWidth(), available.width());
    EXPECT_LE(window->minimumHeight(), available.height());

    // At its minimum size too, each control can be scrolled wholly into view.
    window->resize(window->minimumSize());
    QCoreApplication::processEvents();
    auto* scroll = qobject_cast<QScrollArea*>(window->centralWidget());
    ASSERT_NE(scroll, nullptr);
    int controls = 0;
    for (QWidget* w : scroll->widget()->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QWebEngineView*>(w);
        if (!control || !w->isVisibleTo(window.get()) || w->objectName().startsWith("qt_"))
            continue;
        ++controls;
        scroll->ensureWidgetVisible(w, 0, 0);
        QCoreApplication::processEvents();
        const QRect inViewport(w->mapTo(scroll->viewport(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(inViewport))
            << w->objectName().toStdString() << " at " << inViewport.x() << "," << inViewport.y()
            << " " << inViewport.width() << "x" << inViewport.height() << " in "
            << scroll->viewport()->width() << "x" << scroll->viewport()->height();
    }
    EXPECT_GE(controls, 17);
}

INSTANTIATE_TEST_SUITE_P(Languages, AccessibleTree,
                         ::testing::Values(QStringLiteral("en"), QStringLiteral("de"),
                                           QStringLiteral("fr"), QStringLiteral("es")),
                         [](const auto& info) { return info.param.toStdString(); });
