#include "views/controls/recent_change_prompt_view.hpp"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <iterator>
#include <vector>

#include "presentation/controls/prompt_focus_return.hpp"
#include "presentation/controls/recent_change_prompt.hpp"
#include "presentation/design/typography.hpp"
#include "services/display_store/display_store.hpp"
#include "views/access/reading_order.hpp"
#include "views/access/spoken_notice.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/focus_ring.hpp"
#include "views/design/scroll_anchor.hpp"
#include "views/design/shrinking_label.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/symbol_side.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/store_bridge.hpp"
#include "views/view_context.hpp"

namespace quorvane {

namespace {

// What a control is to a Return or Space that comes late, as a screen
// reader knows it by its role.
PromptFocusReturn::Kind kindForLateKey(QWidget* control) {
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(control);
    switch (heard ? heard->role() : QAccessible::NoRole) {
        case QAccessible::Slider:
        case QAccessible::SpinBox:
        case QAccessible::Dial:
        case QAccessible::ScrollBar:
            return PromptFocusReturn::Kind::valueControl;
        case QAccessible::EditableText:
        case QAccessible::ComboBox:
            return PromptFocusReturn::Kind::entry;
        default:
            return PromptFocusReturn::Kind::pressable;
    }
}

// The nearest ancestor of `widget` a screen reader names and knows as
// `role`, or null: a place the focus can rest on and be heard by its name.
QWidget* namedAncestor(QWidget* widget, QAccessible::Role role) {
    for (QWidget* ancestor = widget->parentWidget(); ancestor && !ancestor->isWindow();
         ancestor = ancestor->parentWidget()) {
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(ancestor);
        if (heard && heard->role() == role && !heard->text(QAccessible::Name).isEmpty())
            return ancestor;
    }
    return nullptr;
}

// What the prompt stands in and stays as it goes: the page a screen reader
// names by its title, else the scrolled view of its page (shown whole,
// where the arrow keys scroll), else its parent, if any.
QWidget* pageAround(QWidget* prompt) {
    if (QWidget* page = namedAncestor(prompt, QAccessible::Section))
        return page;
    for (QWidget* ancestor = prompt->parentWidget(); ancestor && !ancestor->isWindow();
         ancestor = ancestor->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(ancestor))
            return area;
    }
    return prompt->parentWidget();
}

// Lets a card that takes no focus of its own hold it until the focus moves
// on: a screen reader knows it as focusable meanwhile, Tab and Shift+Tab go
// on from its place in the reading order (the window's chain, linked again
// as the prompt goes, links the widget holding the focus at its place), and
// neither Tab nor a click stops on it afterwards. While it has the focus it
// wears a focus ring, as every focused control shows one.
class FocusHeldForTheMoment : public QObject {
  public:
    explicit FocusHeldForTheMoment(QWidget* card)
        : QObject(card), card_(card), policy_(card->focusPolicy()) {
        card->setFocusPolicy(Qt::ClickFocus);
        card->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && !ring_ && card_->parentWidget())
            ring_ = new FocusRing(card_);
        // Leaving the window or opening a popup, the card keeps the
        // window's focus and takes it back on the return.
        if (event->type() != QEvent::FocusOut)
            return false;
        dropRing();
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            card_->removeEventFilter(this);
            card_->setFocusPolicy(policy_);
            deleteLater();
        }
        return false;
    }

  private:
    void dropRing() {
        if (!ring_)
            return;
        ring_->hide();
        ring_->deleteLater();
        ring_.clear();
    }

    QWidget* card_;
    Qt::FocusPolicy policy_;
    // Owned by the widget it is drawn on.
    QPointer<FocusRing> ring_;
};

void holdFocusForTheMoment(QWidget* card) {
    if (card->focusPolicy() == Qt::NoFocus)
        new FocusHeldForTheMoment(card);
}

// A push button whose title keeps exactly the given room beside and above
// it (the application style's padding is made for ordinary buttons), drawn
// with the style's bezel when bordered and flat otherwise.
class InsetButton : public QPushButton {
  public:
    InsetButton(const QString& title, const QString& tooltip, bool bordered, QWidget* parent)
        : QPushButton(title, parent) {
        setFlat(!bordered);
        setToolTip(tooltip);
        setSpokenName(this, title);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        setCursor(Qt::PointingHandCursor);
    }

    void setInsets(RecentChangePromptTexts::ButtonInsets insets) {
        insets_ = insets;
        updateGeometry();
    }

    QSize sizeHint() const override {
        const QFontMetrics metrics = fontMetrics();
        const QSize label = metrics.size(Qt::TextShowMnemonic, text());
        // One pixel of bezel on each side, then the insets.
        const int width = label.width() + 2 * insets_.horizontal + 2 * kBezel;
        const int height = label.height() + 2 * insets_.vertical + 2 * kBezel;
        return {width, std::max(height, minimumHeight())};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

  private:
    static constexpr int kBezel = 1;
    RecentChangePromptTexts::ButtonInsets insets_;
};

InsetButton* actionButton(const QString& title, const QString& tooltip, bool bordered,
                          QWidget* parent) {
    return new InsetButton(title, tooltip, bordered, parent);
}

}  // namespace

RecentChangePromptView::RecentChangePromptView(ViewContext& context, bool compact, QWidget* parent)
    : QWidget(parent),
      store_(context.store),
      theme_(context.theme),
      compact_(compact),
      // The store's timers dismiss the prompt; the countdown reads their
      // clock, which no setting of the wall clock moves.
      now_([&store = context.store] { return store.monotonicNow(); }),
      icon_(new SymbolImage("arrow.uturn.backward.circle.fill", this)),
      heading_(new QLabel(QStringLiteral("최근 변경 복구"), this)),
      pill_(new StatusPill(context.theme, {}, this)),
      title_(new WrappingLabel({}, this)),
      message_(new WrappingLabel({}, this)),
      targets_(new ShrinkingLabel({}, 1.0, this)),
      undo_(actionButton(
          QStringLiteral("되돌리기"),
          QStringLiteral("방금 적용한 Quorvane 화면 색감 변경만 이전 값으로 되돌립니다."), true,
          this)),
      keep_(actionButton(
          QStringLiteral("이 설정 유지"),
          QStringLiteral("알림만 닫습니다. 되돌리기 기록은 복구 화면에 남아 있습니다."), false,
          this)),
      headingRow_(new FitToWidth(7, 4, this)),
      outer_(new FitToWidth(compact ? 9 : 12, compact ? 8 : 10, this)) {
    headingRow_->setRowAlignment(Qt::AlignBaseline);
    headingRow_->addWidget(heading_);
    headingRow_->addWidget(pill_);

    auto* copyText = new QVBoxLayout;
    copyText->setSpacing(compact ? 3 : 5);
    copyText->addWidget(headingRow_);
    copyText->addWidget(title_);
    copyText->addWidget(message_);
    copyText->addWidget(targets_);
    targets_->setElideMode(Qt::ElideMiddle);
    targets_->setVisible(!compact);
    message_->setSecondary(true);
    targets_->setForegroundRole(QPalette::PlaceholderText);

    auto* copy = new QWidget(this);
    auto* copyRow = new QHBoxLayout(copy);
    copyRow->setContentsMargins(0, 0, 0, 0);
    copyRow->setSpacing(compact ? 8 : 10);
    auto* iconColumn = new QVBoxLayout;
    iconColumn->setContentsMargins(0, RecentChangePromptTexts::iconTopInset(compact), 0, 0);
    iconColumn->addWidget(icon_);
    iconColumn->addStretch(1);
    copyRow->addLayout(iconColumn);
    copyRow->addLayout(copyText, 1);

    auto* actions = new QWidget(this);
    auto* actionRow = new QHBoxLayout(actions);
    actionRow->setContentsMargins(0, 0, 0, 0);
    actionRow->setSpacing(compact ? 6 : 8);
    actionRow->addWidget(undo_);
    actionRow->addWidget(keep_);
    actions->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    outer_->addWidget(copy);
    outer_->addStretch(6);
    outer_->addWidget(actions);
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(compact ? 10 : 13, compact ? 8 : 11, compact ? 10 : 13,
                              compact ? 8 : 11);
    frame->addWidget(outer_);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    connect(undo_, &QPushButton::clicked, this, [this] {
        if (shown_)
            store_.undoRecentChangeRecoveryPrompt(shown_->id);
    });
    connect(keep_, &QPushButton::clicked, this, [this] {
        if (shown_)
            store_.clearRecentChangeRecoveryPrompt(shown_->id);
    });
    tick_.setSingleShot(true);
    connect(&tick_, &QTimer::timeout, this, [this] {
        updateCountdown();
        armTimer();
    });
    connect(&context.bridge, &StoreBridge::storeChanged, this, &RecentChangePromptView::refresh);
    connect(&theme_, &Theme::changed, this, &RecentChangePromptView::restyle);
    restyle();
    refresh();
}

void RecentChangePromptView::setClock(Now now) {
    now_ = std::move(now);
    refresh();
}

void RecentChangePromptView::keepStill(QScrollArea* area) {
    auto* anchor = new ScrollAnchor(area, this);
    connect(this, &RecentChangePromptView::aboutToChange, anchor, &ScrollAnchor::hold);
    connect(this, &RecentChangePromptView::changed, anchor, &ScrollAnchor::release);
}

void RecentChangePromptView::refresh() {
    const auto& prompt = store_.recentChangeRecoveryPrompt();
    if (!prompt) {
        tick_.stop();
        const bool wasShown = shown_.has_value();
        giveBackFocus();
        if (wasShown)
            emit aboutToChange();
        shown_.reset();
        hide();
        if (wasShown)
            emit changed();
        return;
    }
    shownAt_ = prompt->shownAt;
    showPrompt({prompt->id, prompt->title, prompt->message,
                RecentChangePromptTexts::targetSummary(*prompt)});
    armTimer();
}

void RecentChangePromptView::showPrompt(const Shown& shown) {
    if (shown_ == shown) {
        updateCountdown();
        return;
    }
    emit aboutToChange();
    // A newer prompt undoes another change than the one heard before.
    const bool newer = !shown_ || shown_->id != shown.id;
    shown_ = shown;
    title_->setText(QString::fromStdString(shown.title));
    message_->setText(QString::fromStdString(shown.message));
    // Named before the text changes: a label without a name of its own
    // announces its new text, and the name would then be announced again.
    // The compact prompt never shows it, and says nothing of it.
    if (!compact_) {
        setSpokenName(targets_, QString::fromStdString(shown.targets));
        targets_->setText(QString::fromStdString(shown.targets));
    }
    updateCountdown();
    show();
    emit changed();
    // Each newer change comes from where the focus stands now.
    QWidget* focused = QApplication::focusWidget();
    if (focused && focused->window() == window() && !isAncestorOf(focused))
        origin_ = focused;
    // Heard in the window the user works in only, as it appears there and
    // each time a newer change replaces it: a page opened while it stands
    // shows it from the start, unheard.
    if (newer && isVisible() && focused && focused->window() == window())
        speakNotice(this, title_->text());
}

void RecentChangePromptView::giveBackFocus() {
    // The window's own focus, which stays on the prompt while the user is
    // in another window: Qt would give it to the window's first control on
    // their return, the page at its top.
    QWidget* focused = window()->focusWidget();
    QWidget* origin = origin_.data();
    origin_.clear();
    if (!focused || !isAncestorOf(focused))
        return;
    std::vector<QWidget*> controls;
    std::vector<PromptFocusReturn::Candidate> candidates;
    const auto consider = [&](QWidget* control, PromptFocusReturn::Kind kind) {
        controls.push_back(control);
        candidates.push_back({kind, control->isVisible() && control->isEnabled()});
    };
    if (origin && !isAncestorOf(origin)) {
        // The control the change came from, the value controls of its row,
        // the controls of its card nearest first, then the card itself.
        consider(origin, kindForLateKey(origin));
        if (QWidget* row = origin->parentWidget()) {
            for (QWidget* stop : tabStopsInReadingOrder(row)) {
                if (stop != origin && stop->parentWidget() == row &&
                    kindForLateKey(stop) == PromptFocusReturn::Kind::valueControl)
                    consider(stop, PromptFocusReturn::Kind::valueControl);
            }
        }
        // The card is the group a screen reader names around the control
        // (a preset's or work mode's row, a panel section); a control in
        // none (a switch in its plain row) has only its own row's controls,
        // and the focus rests on the named page rather than on a row a
        // screen reader has no name for.
        QWidget* card = namedAncestor(origin, QAccessible::Grouping);
        const auto stops = tabStopsInReadingOrder(card ? card : origin->parentWidget());
        const auto at = std::find(stops.begin(), stops.end(), origin) - stops.begin();
        for (const std::size_t index :
             PromptFocusReturn::nearestFirst(static_cast<std::size_t>(at), stops.size()))
            consider(stops[index], kindForLateKey(stops[index]));
        if (QWidget* place = card ? card : pageAround(this))
            consider(place, PromptFocusReturn::Kind::passive);
    } else {
        // The controls before the prompt, nearest first; never the one
        // after it.
        const auto stops = tabStopsInReadingOrder(window());
        const auto prompt = std::find_if(stops.begin(), stops.end(),
                                         [this](QWidget* stop) { return isAncestorOf(stop); });
        for (auto stop = std::make_reverse_iterator(prompt); stop != stops.rend(); ++stop)
            consider(*stop, kindForLateKey(*stop));
        if (QWidget* page = pageAround(this))
            consider(page, PromptFocusReturn::Kind::passive);
    }
    const auto chosen = PromptFocusReturn::choose(candidates);
    if (!chosen)
        return;
    QWidget* control = controls[*chosen];
    if (candidates[*chosen].kind == PromptFocusReturn::Kind::passive)
        holdFocusForTheMoment(control);
    // In a window the user has left, this sets the control its return
    // focuses.
    control->setFocus(Qt::OtherFocusReason);
}

void RecentChangePromptView::updateCountdown() {
    shownSeconds_ = RecentChangePromptTexts::remainingSeconds(shownAt_, now_());
    pill_->setText(
        QString::fromStdString(RecentChangePromptTexts::countdownText(shownSeconds_)),
        QString::fromStdString(RecentChangePromptTexts::countdownAccessibilityText(shownSeconds_)));
}

// The next tick falls on the next whole second after the publication, so
// the shown number changes exactly when the remaining time crosses it.
void RecentChangePromptView::armTimer() {
    if (!shown_ || shownSeconds_ <= 0) {
        tick_.stop();
        return;
    }
    using namespace std::chrono;
    const auto elapsed = duration_cast<milliseconds>(now_() - shownAt_).count();
    const long long intoSecond = ((elapsed % 1000) + 1000) % 1000;
    tick_.start(static_cast<int>(1000 - intoSecond));
}

// The banner's wash of the prompt accent, on the window's own ground.
TextGround RecentChangePromptView::ground() const {
    return {PageGround::window, {{ColorRole::warning, bySchemePair(theme_.scheme(), 0.10, 0.16)}}};
}

void RecentChangePromptView::restyle() {
    const TextGround banner = ground();
    icon_->setColor(theme_.textColor(ColorRole::warning, banner));
    const QColor secondary = theme_.textColor(ColorRole::secondary, banner);
    message_->setTextColor(secondary);
    targets_->setTextColor(secondary);
    icon_->setFixedSide(symbolSide(compact_ ? RecentChangePromptTexts::kCompactIconPoints
                                            : RecentChangePromptTexts::kIconPoints));
    heading_->setFont(theme_.font(
        compact_ ? QuorvaneFontStyle::caption : QuorvaneFontStyle::subheadline, QFont::DemiBold));
    pill_->setFont(theme_.font(QuorvaneFontStyle::caption2, QFont::DemiBold));
    const ColorUse pillFill{ColorRole::surface, 0.62};
    TextGround pill = banner;
    pill.washes.push_back(pillFill);
    pill_->setTextColor(theme_.textColor(ColorRole::warning, pill));
    pill_->setColors(theme_.color(pillFill), theme_.color(ColorRole::warning, 0.26));
    pill_->setInsets(7, 3);
    title_->setFont(theme_.font(compact_ ? QuorvaneFontStyle::caption : QuorvaneFontStyle::callout,
                                QFont::DemiBold));
    message_->setFont(
        theme_.font(compact_ ? QuorvaneFontStyle::caption2 : QuorvaneFontStyle::caption));
    targets_->setFont(theme_.font(QuorvaneFontStyle::caption2, QFont::Medium));
    const int minHeight = theme_.accessibleButtonMinHeight();
    for (auto* button : {undo_, keep_}) {
        button->setFont(theme_.baseFont());
        button->setMinimumHeight(minHeight);
    }
    static_cast<InsetButton*>(undo_)->setInsets(RecentChangePromptTexts::undoInsets(compact_));
    static_cast<InsetButton*>(keep_)->setInsets(RecentChangePromptTexts::keepInsets(compact_));
    update();
}

void RecentChangePromptView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(theme_.color(ColorRole::warning, 0.30), 1));
    painter.setBrush(theme_.color(ground().washes.front()));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
}

}  // namespace quorvane
