#include "app/MainWindow.h"

#include "app/ApplicationController.h"
#include "app/DesktopIntegration.h"
#include "app/widgets/CalmAccessibleName.h"
#include "app/widgets/PopUpAccessibility.h"
#include "app/widgets/ScrollingContent.h"
#include "core/ConverterCommandLine.h"
#include "ui_MainWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QMimeData>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <utility>
#include <vector>

namespace reelhound {
namespace {

// Tags of the pop-up items whose tag, not title, the converter is given.
// Keyed by the untranslated title so the order of the items can change freely.
const std::vector<std::pair<const char*, int>> kItemTags = {
    {"Stereo", 2},
    {"Mono", 1},
    {"25 fps", 25},
    {"30 fps", 30},
    {"24 fps", 24},
    {"15 fps", 15},
    {"QuickTime (.mov)", kFormatTagMOV},
    {"MPEG-4 (.mp4)", kFormatTagMP4},
    {"AVI (.avi)", kFormatTagAVI},
    {"RealMedia (.rm)", kFormatTagRM},
    {"Windows Media (.wmv)", kFormatTagWMV},
};

void keepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui_(new Ui::MainWindow) {
    // Before the pop-ups exist: a screen reader may ask about them as they are made.
    nameLabelledPopUps();
    ui_->setupUi(this);
    applyItemTags();
    setCentralWidget(new ScrollingContent(takeCentralWidget(), this));

    // The download's progress row shows only while a download runs: an idle
    // window keeps no empty band for it. The progress line changes with every
    // chunk; its length must not make the layout recompute the window each time.
    ui_->downloadProgressTextField->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // The busy animation repaints the whole bar every frame for as long as the
    // converter runs, on the cores the converter needs: keep it small.
    ui_->convertFLVProgressIndicator->setMaximumWidth(
        ui_->convertFLVProgressIndicator->fontMetrics().averageCharWidth() * 24);
    ui_->convertRow->insertStretch(1, 1); // the button keeps its own size
    // The settings pop-ups keep the width of their items; the room beside
    // them stays empty rather than stretching "44100" across a wide window.
    ui_->settingsLayout->addItem(
        new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 1, 4);
    // It shares its row with the convert button, which holds the row open.
    keepPlaceWhenHidden(ui_->convertFLVProgressIndicator);

    shapeConverterOutput();
    showPathFieldsAsReadOnly();
    elideLongRecentAddresses();
    nameLineCalmly(*ui_->downloadProgressTextField, tr("Amount downloaded"));
    nameLineCalmly(*ui_->convertFLVProgressTextField, tr("Converter output"));
    setUpStatusBar();
    // The field's clear button is a control of its own for a screen reader.
    for (QToolButton* button : ui_->URLEntryTextField->findChildren<QToolButton*>())
        button->setAccessibleName(tr("Clear the address"));

    // Drops go to the window, which replaces the whole address rather than
    // inserting into it; the page view must never follow a dropped link.
    setAcceptDrops(true);
    ui_->URLEntryTextField->setAcceptDrops(false);
    watchWebViewDrops(ui_->RLHDWebView);
    placeWebViewInTabOrder();

    ui_->URLEntryTextField->setFocus();
    connect(ui_->quitAction, &QAction::triggered, qApp, &QApplication::quit, Qt::QueuedConnection);
}

void MainWindow::shapeConverterOutput() {
    // The converter's output is columns of figures: keep them from jumping. It
    // comes in chunks of several lines; a fixed height showing the latest
    // lines keeps the window from changing shape while it runs.
    QLabel* status = ui_->convertFLVProgressTextField;
    status->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    status->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    status->setFixedHeight(3 * QFontMetrics(status->font()).lineSpacing() + 4);
    status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    status->setHidden(true); // until there is something to read
}

void MainWindow::setUpStatusBar() {
    statusBar()->setAccessibleName(tr("Status"));
    // Offered in the status line once a download or a conversion has made a file.
    // A flat button rather than a link in a label: one Tab stop, and Space or
    // Enter work on it as on any button.
    auto* showInFolder = new QToolButton(statusBar());
    showInFolderLink_ = showInFolder;
    showInFolder->setObjectName(QStringLiteral("showInFolderLink"));
    showInFolder->setText(tr("Show in folder"));
    showInFolder->setAccessibleName(tr("Show in folder"));
    showInFolder->setAutoRaise(true);
    showInFolder->setHidden(true);
    statusBar()->addPermanentWidget(showInFolder);
    // A message wider than the window is cut at its edge: the whole of it
    // stays one hover away, and is what a screen reader reads.
    connect(statusBar(), &QStatusBar::messageChanged, statusBar(),
            [bar = statusBar()](const QString& text) {
                bar->setToolTip(text);
                bar->setAccessibleDescription(text);
            });
}

MainWindow::~MainWindow() = default;

void MainWindow::showKeyOfButton(QAction& item, const QPushButton& button) {
    // Shown only: the button's own access key does the work, so one key has one owner.
    const QKeySequence key = QKeySequence::mnemonic(button.text());
    item.setText(item.text() + QLatin1Char('\t') + key.toString(QKeySequence::NativeText));
}

void MainWindow::showPathFieldsAsReadOnly() {
    // Fields that only show a path have the window's colour behind their text,
    // as read-only fields have on the desktop, rather than the colour of input.
    for (QLineEdit* field : {ui_->downloadDestinationTextField, ui_->convertFLVFilenameTextField}) {
        QPalette colours = palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            colours.setBrush(group, QPalette::Base, colours.brush(group, QPalette::Window));
        field->setPalette(colours);
    }
}

void MainWindow::elideLongRecentAddresses() {
    // A long address must not make the pop-up or its list as wide as the
    // screen: both keep the field's width and cut the middle of what is longer.
    QComboBox* recent = ui_->recentURLPopUpButton;
    recent->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    recent->setMinimumContentsLength(24);
    recent->view()->setTextElideMode(Qt::ElideMiddle);
    recent->view()->window()->installEventFilter(this);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        showPathFieldsAsReadOnly();
    QMainWindow::changeEvent(event);
}

void MainWindow::applyItemTags() {
    for (QComboBox* popUp : {ui_->audioChannelsButton, ui_->videoFrameRateButton,
                             ui_->convertToDifferentFormatButton}) {
        for (int i = 0; i < popUp->count(); ++i) {
            for (const auto& [title, tag] : kItemTags) {
                if (popUp->itemText(i) == QCoreApplication::translate("MainWindow", title))
                    popUp->setItemData(i, tag);
            }
        }
    }
}

void MainWindow::connectToController(ApplicationController& controller) {
    controller.connectOutlets(*ui_, *this, *showInFolderLink_);

    auto* c = &controller;
    using AC = ApplicationController;
    connect(ui_->URLGetURLButton, &QPushButton::clicked, c, &AC::getURLClicked);
    connect(ui_->URLEntryTextField, &QLineEdit::returnPressed, c, &AC::getURLClicked);
    connect(ui_->downloadDestinationSelectButton, &QPushButton::clicked, c,
            &AC::setDestinationFilename);
    connect(ui_->selectFLVtoConvertButton, &QPushButton::clicked, c, &AC::selectConvertFLVFilename);
    connect(ui_->downloadMP4Action, &QAction::triggered, c, &AC::downloadMP4);
    connect(ui_->convertAction, &QAction::triggered, c, &AC::convertFLVtoDifferentFormat);
    connect(ui_->aboutAction, &QAction::triggered, c, &AC::showAbout);
    // The menu items read as their buttons do, and show the buttons' keys.
    showKeyOfButton(*ui_->downloadMP4Action, *ui_->FLVGetFLVButton);
    showKeyOfButton(*ui_->convertAction, *ui_->convertFLVButton);
    connect(showInFolderLink_, &QToolButton::clicked, c, &AC::showFinishedFileInFolder);
    // The download and convert buttons do what their form shows.
    connect(ui_->FLVGetFLVButton, &QPushButton::clicked, c, &AC::FLVGetFLVButtonClicked);
    connect(ui_->convertFLVButton, &QPushButton::clicked, c, &AC::convertFLVButtonClicked);

    // Escape cancels the download, or else stops the conversion.
    auto* cancel = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(cancel, &QShortcut::activated, c, &AC::cancelCurrentActivity);

    // The second click of a double-click would land on the form the first
    // click gave the button (Cancel, Stop): a double-click counts once.
    ui_->FLVGetFLVButton->installEventFilter(this);
    ui_->convertFLVButton->installEventFilter(this);
}

void MainWindow::watchWebViewDrops(QWidget* widget) {
    // The view draws through child widgets that it makes as pages load; each
    // is watched as it arrives.
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>())
        child->installEventFilter(this);
}

void MainWindow::placeWebViewInTabOrder() {
    // The view takes no focus itself: it hands it to a widget inside it that it
    // makes later, and both stand in the tab chain, each as a stop. Put the two
    // side by side after the recent menu; as plain widgets for a moment, since
    // the tab order of a widget with a focus proxy takes its whole run along.
    QWidget* view = ui_->RLHDWebView;
    QWidget* inner = view->focusProxy();
    if (inner == nullptr)
        return;
    // The stop a screen reader lands on is the page itself: it bears its name.
    inner->setAccessibleName(view->accessibleName());
    const Qt::FocusPolicy policy = view->focusPolicy();
    view->setFocusProxy(nullptr);
    view->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(ui_->recentURLPopUpButton, view);
    setTabOrder(view, inner);
    setTabOrder(inner, ui_->downloadDestinationTextField);
    view->setFocusPolicy(policy);
    view->setFocusProxy(inner);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->FLVGetFLVButton || watched == ui_->convertFLVButton)
        return event->type() == QEvent::MouseButtonDblClick;
    if (QComboBox* recent = ui_->recentURLPopUpButton; watched == recent->view()->window()) {
        // The pop-up sizes its list to the longest item; hold it to the field.
        if (event->type() == QEvent::Show || event->type() == QEvent::Resize) {
            auto* list = static_cast<QWidget*>(watched);
            if (list->width() > recent->width())
                list->resize(recent->width(), list->height());
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (auto* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType()) {
            watchWebViewDrops(static_cast<QWidget*>(child));
            // A widget that takes the view's focus joins the tab chain at its
            // end; once the view has made it, put the view back in its place.
            if (watched == ui_->RLHDWebView)
                QMetaObject::invokeMethod(this, &MainWindow::placeWebViewInTabOrder,
                                          Qt::QueuedConnection);
        }
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        acceptWebAddressDrag(static_cast<QDropEvent*>(event));
        return true;
    case QEvent::Drop:
        dropWebAddress(static_cast<QDropEvent*>(event));
        return true;
    case QEvent::DragLeave:
        return true;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    acceptWebAddressDrag(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    acceptWebAddressDrag(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
    dropWebAddress(event);
}

void MainWindow::acceptWebAddressDrag(QDropEvent* event) {
    if (!droppedWebAddress(*event->mimeData())) {
        event->ignore();
        return;
    }
    // The address is copied: the browser it came from keeps its link.
    if (event->possibleActions() & Qt::CopyAction) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}

void MainWindow::dropWebAddress(QDropEvent* event) {
    const std::optional<QString> address = droppedWebAddress(*event->mimeData());
    if (!address) {
        event->ignore();
        return;
    }
    acceptWebAddressDrag(event);
    // As a paste over the whole field: one step that Undo takes back. Nothing
    // is fetched until the person presses Get.
    QLineEdit* field = ui_->URLEntryTextField;
    field->selectAll();
    field->insert(*address);
    field->setFocus(Qt::OtherFocusReason);
    activateWindow();
}

std::unique_ptr<MainWindow> loadMainWindow(ApplicationController& controller) {
    auto window = std::make_unique<MainWindow>();
    window->connectToController(controller);
    controller.awakeFromNib();
    return window;
}

} // namespace reelhound
