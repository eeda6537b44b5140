#include "app/MainWindow.h"

#include "ApplicationController.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <utility>
#include <vector>

namespace reelhound {
namespace {

// Tags of the pop-up items whose tag, not title, the converter is given.
// Keyed by title so the order of the items can change freely.
const std::vector<std::pair<QString, int>> kItemTags = {
    {QStringLiteral("Stereo"), 2},
    {QStringLiteral("Mono"), 1},
    {QStringLiteral("25 fps"), 25},
    {QStringLiteral("30 fps"), 30},
    {QStringLiteral("24 fps"), 24},
    {QStringLiteral("15 fps"), 15},
    {QStringLiteral("QuickTime (.mov)"), 10},
    {QStringLiteral("MPEG-4 (.mp4)"), 20},
    {QStringLiteral("AVI (.avi)"), 30},
    {QStringLiteral("RealMedia (.rm)"), 40},
    {QStringLiteral("Windows Media (.wmv)"), 50},
};

void keepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui_(new Ui::MainWindow) {
    ui_->setupUi(this);
    applyItemTags();

    // The progress widgets come and go; the rest of the window stays still.
    keepPlaceWhenHidden(ui_->downloadFLVProgressIndicator);
    keepPlaceWhenHidden(ui_->downloadProgressTextField);
    keepPlaceWhenHidden(ui_->convertFLVProgressIndicator);
    keepPlaceWhenHidden(ui_->getURLprogressIndicator);

    // The converter's output is columns of figures: keep them from jumping. It
    // comes in chunks of several lines; a fixed height showing the latest
    // lines keeps the window from changing shape while it runs.
    QLabel* status = ui_->convertFLVProgressTextField;
    status->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    status->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    status->setFixedHeight(3 * QFontMetrics(status->font()).lineSpacing() + 4);
    status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    ui_->URLEntryTextField->setFocus();
    connect(ui_->quitAction, &QAction::triggered, qApp, &QApplication::quit, Qt::QueuedConnection);
}

MainWindow::~MainWindow() = default;

void MainWindow::applyItemTags() {
    for (QComboBox* popUp : {ui_->audioChannelsButton, ui_->videoFrameRateButton,
                             ui_->convertToDifferentFormatButton}) {
        for (int i = 0; i < popUp->count(); ++i) {
            for (const auto& [title, tag] : kItemTags) {
                if (popUp->itemText(i) == title)
                    popUp->setItemData(i, tag);
            }
        }
    }
}

void MainWindow::connectToController(ApplicationController& controller) {
    controller.connectOutlets(*this);

    auto* c = &controller;
    using AC = ApplicationController;
    connect(ui_->URLGetURLButton, &QPushButton::clicked, c, &AC::getURLClicked);
    connect(ui_->URLEntryTextField, &QLineEdit::returnPressed, c, &AC::getURLClicked);
    connect(ui_->downloadDestinationSelectButton, &QPushButton::clicked, c,
            &AC::setDestinationFilename);
    connect(ui_->selectFLVtoConvertButton, &QPushButton::clicked, c, &AC::selectConvertFLVFilename);
    connect(ui_->convertFLVButton, &QPushButton::clicked, c, &AC::convertFLVtoDifferentFormat);
    connect(ui_->downloadMP4Action, &QAction::triggered, c, &AC::downloadMP4);
    // The menu offers a download only when the download button would start one,
    // so that a second transfer can never run alongside the first.
    connect(ui_->fileMenu, &QMenu::aboutToShow, this, [this] {
        ui_->downloadMP4Action->setEnabled(ui_->FLVGetFLVButton->isEnabled() &&
                                           ui_->FLVGetFLVButton->text() ==
                                               QStringLiteral("Download FLV"));
    });
}

std::unique_ptr<MainWindow> loadMainWindow(ApplicationController& controller) {
    auto window = std::make_unique<MainWindow>();
    window->connectToController(controller);
    controller.awakeFromNib();
    return window;
}

} // namespace reelhound
