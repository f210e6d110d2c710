#include "views/main_window/main_window.hpp"

#include <QGuiApplication>
#include <QPainter>
#include <QShowEvent>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "presentation/design/text_size_table.hpp"
#include "presentation/main_window/sidebar_row.hpp"
#include "views/access/opening_focus.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/design/appearance_switcher.hpp"
#include "views/detail_form/display_detail_form.hpp"
#include "views/main_window/main_utility_header.hpp"
#include "views/main_window/main_window_sidebar.hpp"
#include "views/main_window/no_display_state.hpp"

namespace quorvane {

namespace {

// The sidebar's first width grows with the text size.
constexpr TextSizeTable<int> kSidebarWidth{{236, 256, 284, 320}};
constexpr int kSidebarMinimumWidth = 190;

// A hairline between the sidebar and the detail column that still takes the
// drag of a splitter handle.
class DividerHandle : public QSplitterHandle {
  public:
    DividerHandle(Theme& theme, QSplitter* parent)
        : QSplitterHandle(Qt::Horizontal, parent), theme_(theme) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(QRect(width() / 2, 0, 1, height()),
                         theme_.color(ColorRole::surfaceBorder));
    }

  private:
    Theme& theme_;
};

class DividedSplitter : public QSplitter {
  public:
    DividedSplitter(Theme& theme, QWidget* parent)
        : QSplitter(Qt::Horizontal, parent), theme_(theme) {
        setHandleWidth(5);
    }

  protected:
    QSplitterHandle* createHandle() override { return new DividerHandle(theme_, this); }

  private:
    Theme& theme_;
};

}  // namespace

MainWindow::MainWindow(ViewContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    confirmations_ = new ConfirmationPresenter(this);

    split_ = new DividedSplitter(context_.theme, this);
    split_->setChildrenCollapsible(false);
    sidebar_ = new MainWindowSidebar(
        context_.theme, state_, [this](DisplayID id) { context_.store.setSelectedDisplayID(id); });
    split_->addWidget(sidebar_);

    auto* detail = new QWidget(split_);
    auto* column = new QVBoxLayout(detail);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    header_ = new MainUtilityHeader(
        context_.theme, [this] { rescan(); }, [this] { openSettings(); }, [this] { openPanel(); },
        detail);
    header_->setAppearanceSwitcher(new AppearanceSwitcher(
        context_, false, false, AppearanceSwitcher::Chrome::toolbar, header_));
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
    sidebar_->setMinimumWidth(kSidebarMinimumWidth);
    split_->setSizes({kSidebarWidth[context_.theme.textSize()], kMinimumWidth});
    setCentralWidget(split_);
    // The sidebar keeps a width the user dragged; until then it follows the
    // text size's width.
    connect(split_, &QSplitter::splitterMoved, this, [this] { sidebarDragged_ = true; });
    connect(&context_.theme, &Theme::changed, this, [this] {
        if (sidebarDragged_)
            return;
        const int wanted = kSidebarWidth[context_.theme.textSize()];
        const auto sizes = split_->sizes();
        split_->setSizes({wanted, std::max(sizes.value(0) + sizes.value(1) - wanted, 1)});
    });

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
    sidebar_->revealSelectedSection();
    // Every opening starts on the same control (the selected display's
    // row), whatever had the focus when the window closed.
    if (!event->spontaneous())
        focusOpeningControl(this);
}

void MainWindow::redraw() {
    const auto& store = context_.store;
    sidebar_->redrawDisplays(store);
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

void MainWindow::offerPanel(bool offered) {
    QWidget* control = header_->panelButton();
    if (offered == !control->isHidden())
        return;
    // A focused control that goes away leaves the focus beside it, on a
    // control whose key opens nothing and changes no setting. So does the
    // control the window gives the focus back to when it is active again
    // (the panel's small window may hold the focus now): Qt would give it to
    // the window's first control instead.
    if (!offered && focusWidget() == control)
        header_->rescanButton()->setFocus(Qt::OtherFocusReason);
    control->setVisible(offered);
}

void MainWindow::sectionsChanged() {
    sidebar_->redrawSections();
    sidebar_->revealSelectedSection();
    if (pages_->currentWidget() == form_)
        form_->refresh();
}

void MainWindow::rescan() {
    context_.store.refresh(DisplayStore::RefreshIntent::explicitUserRefresh);
}

void MainWindow::openPanel() {
    if (context_.shell.togglePanel)
        context_.shell.togglePanel();
}

void MainWindow::openSettings() {
    if (context_.shell.openSettings)
        context_.shell.openSettings();
}

}  // namespace quorvane
