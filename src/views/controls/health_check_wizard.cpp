#include "views/controls/health_check_wizard.hpp"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <optional>

#include "presentation/controls/support_presentation.hpp"
#include "views/access/spoken_text.hpp"
#include "views/controls/support_status_label.hpp"
#include "views/design/disclosure_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/keyed_rows.hpp"
#include "views/design/shared_row_layout.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/design/wrapping_push_button.hpp"

namespace quorvane {

namespace {

constexpr int kStepIconColumnWidth = 20;
// Between a step's button and the reason beside it.
constexpr int kStepActionSpacing = 6;

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

// The header's soft grey card.
class HeaderCard : public QWidget {
  public:
    HeaderCard(Theme& theme, QWidget* parent) : QWidget(parent), theme_(theme) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme_.color(ColorRole::secondary, 0.08));
        painter.drawRoundedRect(rect(), 14, 14);
    }

  private:
    Theme& theme_;
};

// A column filling `owner` edge to edge, its items `spacing` apart.
QVBoxLayout* column(QWidget* owner, int spacing) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

WrappingLabel* captionSecondary(Theme& theme, const std::string& value, QWidget* parent) {
    return themedLabel(theme, text(value), QuorvaneFontStyle::caption, QFont::Normal, true, parent);
}

// A label's new text, left alone when it is the same.
void setText(WrappingLabel* label, const std::string& value) {
    if (const QString shown = text(value); label->text() != shown)
        label->setText(shown);
}

WrappingLabel* heading(Theme& theme, const QString& value, QuorvaneFontStyle style,
                       QWidget* parent) {
    return themedLabel(theme, value, style, QFont::DemiBold, false, parent);
}

// One action's button, and its reason shown only while it is disabled.
void showActionEntry(QPushButton* button, WrappingLabel* reason,
                     const QuorvaneSupportAction& action) {
    if (const QString title = text(action.title); button->text() != title)
        button->setText(title);
    button->setEnabled(action.isEnabled);
    button->setToolTip(text(SupportPresentation::actionTooltip(action)));
    const auto shown = SupportPresentation::shownDisabledReason(action);
    setText(reason, shown.value_or(""));
    reason->setVisible(shown.has_value());
}

// A step's action: its button and, beside it on the same line, the reason
// it cannot run. The two share the line (SharedRowLayout): the button's
// title wraps as the reason's does when both do not fit, so neither is
// squeezed into a narrow column. The button is the same one while the step
// offers an action.
class StepAction : public QWidget {
  public:
    using RunAction = HealthCheckWizard::RunAction;

    StepAction(Theme& theme, const RunAction& run, QWidget* parent)
        : QWidget(parent), theme_(theme), run_(run) {
        row_ = new SharedRowLayout(kStepActionSpacing, this);
    }

    void present(const std::optional<QuorvaneSupportAction>& action) {
        action_ = action;
        setVisible(action.has_value());
        if (!action)
            return;
        // Made with the first action the step offers, then kept.
        if (!button_) {
            button_ = new WrappingPushButton(this);
            connect(button_, &QPushButton::clicked, this, [this] {
                if (action_ && action_->isEnabled && run_)
                    run_(*action_);
            });
            reason_ = captionSecondary(theme_, {}, this);
            row_->addWidget(button_);
            row_->addWidget(reason_);
        }
        showActionEntry(button_, reason_, *action);
    }

  private:
    Theme& theme_;
    const RunAction& run_;
    std::optional<QuorvaneSupportAction> action_;
    SharedRowLayout* row_ = nullptr;
    QPushButton* button_ = nullptr;
    WrappingLabel* reason_ = nullptr;
};

// The buttons of one capability, each with its shown reason beside
// or under it. A button is its action kind's for as long as the action is
// offered: a new title, state or reason changes it in place.
class ActionStrip : public FitToWidth {
  public:
    using RunAction = HealthCheckWizard::RunAction;

    ActionStrip(Theme& theme, int horizontalSpacing, int verticalSpacing, const RunAction& run,
                QWidget* parent)
        : FitToWidth(horizontalSpacing, verticalSpacing, parent),
          theme_(theme),
          run_(run),
          buttons_([this](const std::vector<QWidget*>& buttons) { place(buttons); }) {}

    void show(const std::vector<QuorvaneSupportAction>& actions) {
        actions_ = actions;
        std::vector<std::string> kinds;
        for (const auto& action : actions)
            kinds.emplace_back(action.id());
        buttons_.show(
            kinds,
            [this](std::size_t index) {
                auto* button = new QPushButton(this);
                button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
                connect(button, &QPushButton::clicked, this, [this, button] {
                    const auto shown = buttons_.indexOf(button);
                    if (shown && actions_[*shown].isEnabled && run_)
                        run_(actions_[*shown]);
                });
                reasons_[button] = captionSecondary(theme_, {}, this);
                showAction(button, actions_[index]);
                return button;
            },
            [this](QWidget* button, std::size_t index) {
                showAction(static_cast<QPushButton*>(button), actions_[index]);
            });
    }

  private:
    void showAction(QPushButton* button, const QuorvaneSupportAction& action) {
        showActionEntry(button, reasons_[button], action);
    }

    // Every button in order, each with its reason while it has one.
    void place(const std::vector<QWidget*>& buttons) {
        while (QLayoutItem* item = layout()->takeAt(0))
            delete item;
        for (auto it = reasons_.begin(); it != reasons_.end();) {
            if (std::find(buttons.begin(), buttons.end(), it->first) == buttons.end()) {
                it->second->hide();
                it->second->deleteLater();
                it = reasons_.erase(it);
            } else {
                ++it;
            }
        }
        for (QWidget* button : buttons) {
            addWidget(button);
            if (WrappingLabel* reason = reasons_[button]; !reason->isHidden())
                addWidget(reason);
        }
    }

    Theme& theme_;
    const RunAction& run_;
    std::vector<QuorvaneSupportAction> actions_;
    std::map<QWidget*, WrappingLabel*> reasons_;
    KeyedRows buttons_;
};

// One capability: its status beside its title, explanation and actions.
class CapabilityRow : public SurfacePanel {
  public:
    CapabilityRow(Theme& theme, const HealthCheckWizard::RunAction& run)
        : SurfacePanel(theme, SurfacePanel::Kind::soft, 12, 16) {
        auto* panelColumn = column(this, 8);
        auto* fit = new FitToWidth(8, 2, this);
        fit->setRowAlignment(Qt::AlignTop);
        status_ = new SupportStatusLabel(theme, QuorvaneSupportStatus::informational, false, fit);
        followTheme(theme, status_, [this, &theme] {
            status_->setLabelFont(theme.font(QuorvaneFontStyle::caption, QFont::DemiBold));
        });
        auto* copy = new QWidget(fit);
        auto* copyColumn = column(copy, 2);
        title_ = heading(theme, {}, QuorvaneFontStyle::body, copy);
        copyColumn->addWidget(title_);
        detail_ = captionSecondary(theme, {}, copy);
        copyColumn->addWidget(detail_);
        actions_ = new ActionStrip(theme, 8, 6, run, copy);
        // The room above the buttons belongs to them: none without any.
        actions_->layout()->setContentsMargins(0, 2, 0, 0);
        copyColumn->addWidget(actions_);
        copy->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        fit->addWidget(status_);
        fit->addWidget(copy);
        panelColumn->addWidget(fit);
    }

    void show(const QuorvaneSupportCapabilityRow& row) {
        status_->setStatus(row.status);
        setText(title_, row.title);
        setText(detail_, row.detail);
        actions_->show(row.actions);
        actions_->setVisible(!row.actions.empty());
    }

  private:
    SupportStatusLabel* status_ = nullptr;
    WrappingLabel* title_ = nullptr;
    WrappingLabel* detail_ = nullptr;
    ActionStrip* actions_ = nullptr;
};

// One numbered step: its status symbol, title, explanation and action.
class StepLine : public QWidget {
  public:
    StepLine(Theme& theme, const HealthCheckWizard::RunAction& run, QWidget* parent)
        : QWidget(parent), theme_(theme) {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(10);
        // The symbol takes the size of the step's text and stands centred in
        // a column of its own, so every step's texts start at the same x.
        icon_ = new SymbolImage({}, this);
        icon_->setFixedWidth(kStepIconColumnWidth);
        followTheme(theme, icon_, [this] { tint(); });
        row->addWidget(icon_, 0, Qt::AlignTop);
        auto* copy = new QVBoxLayout;
        copy->setSpacing(3);
        title_ = heading(theme, {}, QuorvaneFontStyle::body, this);
        copy->addWidget(title_);
        detail_ = captionSecondary(theme, {}, this);
        copy->addWidget(detail_);
        action_ = new StepAction(theme, run, this);
        copy->addWidget(action_);
        row->addLayout(copy, 1);
    }

    void show(const QuorvaneSupportWizardStep& step) {
        status_ = step.status;
        icon_->setSystemName(SupportPresentation::statusLook(step.status).symbol);
        tint();
        setText(title_, step.title);
        setText(detail_, step.detail);
        action_->present(step.action);
    }

  private:
    void tint() {
        icon_->setColor(theme_.color(SupportPresentation::statusLook(status_).tint));
        icon_->setFont(theme_.font(QuorvaneFontStyle::body, QFont::DemiBold));
    }

    Theme& theme_;
    QuorvaneSupportStatus status_ = QuorvaneSupportStatus::informational;
    SymbolImage* icon_ = nullptr;
    WrappingLabel* title_ = nullptr;
    WrappingLabel* detail_ = nullptr;
    StepAction* action_ = nullptr;
};

}  // namespace

HealthCheckWizard::HealthCheckWizard(Theme& theme, QuorvaneDisplaySupportSummary summary,
                                     RunAction onRunAction, QWidget* parent)
    : QWidget(parent),
      theme_(theme),
      summary_(std::move(summary)),
      onRunAction_(std::move(onRunAction)),
      column_(new QVBoxLayout(this)) {
    column_->setContentsMargins(0, 4, 0, 4);
    column_->setSpacing(18);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // Built once; a new summary or the disclosure changes it in place, so a
    // button the user pressed keeps the focus and the page stays still.
    column_->addWidget(buildHeader());
    column_->addWidget(buildCapabilities());
    column_->addWidget(buildSteps());
    column_->addWidget(buildTechnicalDetails());
    showSummary();
}

HealthCheckWizard::~HealthCheckWizard() = default;

void HealthCheckWizard::setSummary(QuorvaneDisplaySupportSummary summary) {
    if (summary == summary_)
        return;
    summary_ = std::move(summary);
    showSummary();
}

void HealthCheckWizard::setTechnicalDetailsExpanded(bool expanded) {
    if (expanded == expanded_)
        return;
    expanded_ = expanded;
    showTechnicalDetails();
}

void HealthCheckWizard::showSummary() {
    const SupportStatusLook look = SupportPresentation::statusLook(summary_.overallStatus);
    headerIcon_->setSystemName(look.symbol);
    headerIcon_->setColor(theme_.color(look.tint));
    setText(headerSubtitle_, SupportPresentation::headerSubtitle(summary_));
    setText(headerMessage_, summary_.overallMessage);

    std::vector<std::string> ids;
    for (const auto& row : summary_.capabilities)
        ids.push_back(row.id);
    capabilities_->show(
        ids,
        [this](std::size_t index) {
            auto* row = new CapabilityRow(theme_, onRunAction_);
            row->show(summary_.capabilities[index]);
            return row;
        },
        [this](QWidget* row, std::size_t index) {
            static_cast<CapabilityRow*>(row)->show(summary_.capabilities[index]);
        });
    ids.clear();
    for (const auto& step : summary_.wizardSteps)
        ids.push_back(step.id);
    steps_->show(
        ids,
        [this](std::size_t index) {
            auto* line = new StepLine(theme_, onRunAction_, nullptr);
            line->show(summary_.wizardSteps[index]);
            return line;
        },
        [this](QWidget* line, std::size_t index) {
            static_cast<StepLine*>(line)->show(summary_.wizardSteps[index]);
        });
    showTechnicalDetails();
}

QWidget* HealthCheckWizard::buildHeader() {
    auto* card = new HeaderCard(theme_, this);
    auto* stack = new QVBoxLayout(card);
    stack->setContentsMargins(12, 12, 12, 12);
    stack->setSpacing(6);
    auto* line = new FitToWidth(8, 4, card);
    headerIcon_ = new SymbolImage({}, line);
    followTheme(theme_, headerIcon_, [this] {
        headerIcon_->setColor(
            theme_.color(SupportPresentation::statusLook(summary_.overallStatus).tint));
        // The icon is the size of the text around the header, not of its title.
        headerIcon_->setFont(theme_.font(QuorvaneFontStyle::body, QFont::Normal));
    });
    auto* title = heading(theme_, QStringLiteral("이 화면에서 되는 것 / 안 되는 것"),
                          QuorvaneFontStyle::title3, line);
    line->addWidget(headerIcon_, 0);
    line->addWidget(title, 0);
    headerSubtitle_ = captionSecondary(theme_, {}, line);
    line->addWidget(headerSubtitle_);
    stack->addWidget(line);
    headerMessage_ = captionSecondary(theme_, {}, card);
    stack->addWidget(headerMessage_);
    return card;
}

QWidget* HealthCheckWizard::buildCapabilities() {
    auto* section = new QWidget(this);
    auto* rows = column(section, 10);
    rows->addWidget(
        heading(theme_, QStringLiteral("되는 조정"), QuorvaneFontStyle::subheadline, section));
    capabilities_ = std::make_unique<KeyedRows>(rows, 1);
    return section;
}

QWidget* HealthCheckWizard::buildSteps() {
    auto* section = new QWidget(this);
    auto* steps = column(section, 10);
    steps->addWidget(
        heading(theme_, QStringLiteral("다음에 볼 순서"), QuorvaneFontStyle::subheadline, section));
    steps_ = std::make_unique<KeyedRows>(steps, 1);
    return section;
}

QWidget* HealthCheckWizard::buildTechnicalDetails() {
    auto* section = new QWidget(this);
    auto* lines = column(section, 6);
    detailsToggle_ = new DisclosureButton(theme_, QStringLiteral("지원용 세부 정보"),
                                          QuorvaneFontStyle::body, QFont::Normal, section);
    detailsToggle_->setObjectName(QStringLiteral("technicalDetailsToggle"));
    lines->addWidget(detailsToggle_, 0, Qt::AlignLeft);
    connect(detailsToggle_, &QAbstractButton::clicked, this,
            [this] { setTechnicalDetailsExpanded(!expanded_); });
    detailsBody_ = new QWidget(section);
    auto* body = column(detailsBody_, 6);
    body->addWidget(captionSecondary(
        theme_, "앱이 잘 안 될 때 복사해 볼 정보입니다. 평소에는 접어 두세요.", detailsBody_));
    detailLines_ = std::make_unique<KeyedRows>(body, 1);
    lines->addWidget(detailsBody_);
    return section;
}

void HealthCheckWizard::showTechnicalDetails() {
    detailsToggle_->setChecked(expanded_);
    setSpokenDescription(detailsToggle_,
                         expanded_ ? QStringLiteral("펼쳐짐") : QStringLiteral("접힘"));
    detailsBody_->setVisible(expanded_);
    const auto& details = summary_.technicalDetails;
    detailLines_->show(
        KeyedRows::placeKeys(expanded_ ? details.size() : 0),
        [this, &details](std::size_t index) {
            auto* label = captionSecondary(theme_, "• " + details[index], detailsBody_);
            label->setSelectable(true);
            return label;
        },
        [&details](QWidget* label, std::size_t index) {
            setText(static_cast<WrappingLabel*>(label), "• " + details[index]);
        });
}

}  // namespace quorvane
