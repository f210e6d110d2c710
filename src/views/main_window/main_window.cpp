#include "views/main_window/main_window.hpp"

#include <QGuiApplication>
#include <QShowEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "presentation/main_window/sidebar_row.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/detail_form/display_detail_form.hpp"
#include "views/main_window/main_utility_header.hpp"
#include "views/main_window/main_window_sidebar.hpp"
#include "views/main_window/no_display_state.hpp"

namespace quorvane {

namespace {

constexpr int kSidebarWidth = 250;

}  // namespace

MainWindow::MainWindow(ViewContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    confirmations_ = new ConfirmationPresenter(this);

    split_ = new QSplitter(Qt::Horizontal, this);
    split_->setChildrenCollapsible(false);
    sidebar_ = new MainWindowSidebar(
        context_.theme, state_, [this](DisplayID id) { context_.store.setSelectedDisplayID(id); });
    split_->addWidget(sidebar_);

    auto* detail = new QWidget(split_);
    auto* column = new QVBoxLayout(detail);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    header_ = new MainUtilityHeader(
        context_.theme, [this] { rescan(); }, [this] { openSettings(); }, detail);
    column->addWidget(header_);
    pages_ = new QStackedWidget(detail);
    form_ = new DisplayDetailForm(context_, state_, *confirmations_, pages_);
    noDisplay_ = new NoDisplayState(
        context_.theme, [this] { rescan(); }, [this] { openSettings(); }, pages_);
    pages_->addWidget(form_);
    pages_->addWidget(noDisplay_);
    column->addWidget(pages_, 1);
    split_->addWidget(detail);
    split_->setStretchFactor(0, 0);
    split_->setStretchFactor(1, 1);
    split_->setSizes({kSidebarWidth, kMinimumWidth});
    setCentralWidget(split_);

    state_.sectionsChanged = [this] { sectionsChanged(); };
    connect(&context_.bridge, &StoreBridge::storeChanged, this, &MainWindow::redraw);
    // No press-and-hold comparison outlives the application's focus.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState applicationState) {
                if (applicationState != Qt::ApplicationActive)
                    context_.store.cancelAllTemporaryNeutralComparisons();
            });
    redraw();
}

MainWindow::~MainWindow() {
    state_.sectionsChanged = nullptr;
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A window shown again (not a restored minimised one) reads the displays
    // afresh; the store's change signal then redraws.
    if (!event->spontaneous())
        context_.store.refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    redraw();
}

void MainWindow::redraw() {
    const auto& store = context_.store;
    sidebar_->redrawDisplays(store);
    sidebar_->redrawSections();
    const bool hasDisplay = store.selectedDisplay().has_value();
    QWidget* page = hasDisplay ? static_cast<QWidget*>(form_) : noDisplay_;
    if (pages_->currentWidget() != page)
        pages_->setCurrentWidget(page);
    if (hasDisplay)
        form_->refresh();
    const QString title = QString::fromStdString(mainWindowTitle(store));
    if (windowTitle() != title)
        setWindowTitle(title);
}

void MainWindow::sectionsChanged() {
    sidebar_->redrawSections();
    if (pages_->currentWidget() == form_)
        form_->refresh();
}

void MainWindow::rescan() {
    context_.store.refresh(DisplayStore::RefreshIntent::explicitUserRefresh);
}

void MainWindow::openSettings() {
    if (context_.shell.openSettings)
        context_.shell.openSettings();
}

}  // namespace quorvane
