#include "views/controls/health_check_wizard.hpp"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "presentation/controls/support_presentation.hpp"
#include "views/controls/support_status_label.hpp"
#include "views/design/disclosure_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/spoken_text.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

namespace {

constexpr int kStepIconColumnWidth = 20;

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

WrappingLabel* heading(Theme& theme, const QString& value, QuorvaneFontStyle style,
                       QWidget* parent) {
    return themedLabel(theme, value, style, QFont::DemiBold, false, parent);
}

// The status's symbol in its tint, as tall as the lines of `style`.
SymbolImage* statusSymbol(Theme& theme, const SupportStatusLook& look, QuorvaneFontStyle style,
                          QFont::Weight weight, QWidget* parent) {
    auto* icon = new SymbolImage(look.symbol, parent);
    followTheme(theme, icon, [icon, &theme, tint = look.tint, style, weight] {
        icon->setColor(theme.color(tint));
        icon->setFont(theme.font(style, weight));
    });
    return icon;
}

}  // namespace

HealthCheckWizard::HealthCheckWizard(Theme& theme, QuorvaneDisplaySupportSummary summary,
                                     RunAction onRunAction, QWidget* parent)
    : QWidget(parent),
      theme_(theme),
      summary_(std::move(summary)),
      onRunAction_(std::move(onRunAction)),
      column_(new QVBoxLayout(this)) {
    column_->setContentsMargins(0, 4, 0, 4);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // Everything built below follows the theme in place; only a new summary
    // or the disclosure rebuilds the content.
    rebuild();
}

void HealthCheckWizard::setSummary(QuorvaneDisplaySupportSummary summary) {
    if (summary == summary_)
        return;
    summary_ = std::move(summary);
    rebuild();
}

void HealthCheckWizard::setTechnicalDetailsExpanded(bool expanded) {
    if (expanded == expanded_)
        return;
    expanded_ = expanded;
    rebuild();
}

void HealthCheckWizard::rebuild() {
    if (content_) {
        content_->hide();
        content_->deleteLater();
    }
    content_ = new QWidget(this);
    auto* stack = column(content_, 18);
    stack->addWidget(buildHeader());
    stack->addWidget(buildCapabilities());
    stack->addWidget(buildSteps());
    stack->addWidget(buildTechnicalDetails());
    column_->addWidget(content_);
}

QWidget* HealthCheckWizard::buildHeader() {
    auto* card = new HeaderCard(theme_, content_);
    auto* stack = new QVBoxLayout(card);
    stack->setContentsMargins(12, 12, 12, 12);
    stack->setSpacing(6);
    auto* line = new FitToWidth(8, 4, card);
    const SupportStatusLook look = SupportPresentation::statusLook(summary_.overallStatus);
    // The icon is the size of the text around the header, not of its title.
    auto* icon = statusSymbol(theme_, look, QuorvaneFontStyle::body, QFont::Normal, line);
    auto* title = heading(theme_, QStringLiteral("이 화면에서 되는 것 / 안 되는 것"),
                          QuorvaneFontStyle::title3, line);
    line->addWidget(icon, 0);
    line->addWidget(title, 0);
    line->addWidget(captionSecondary(theme_, SupportPresentation::headerSubtitle(summary_), line));
    stack->addWidget(line);
    stack->addWidget(captionSecondary(theme_, summary_.overallMessage, card));
    return card;
}

void HealthCheckWizard::addActionEntry(QWidget* container, const QuorvaneSupportAction& action,
                                       std::function<void(QWidget*)> add) {
    auto* button = new QPushButton(text(action.title), container);
    button->setEnabled(action.isEnabled);
    button->setToolTip(text(SupportPresentation::actionTooltip(action)));
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(button, &QPushButton::clicked, this, [this, action] {
        if (action.isEnabled && onRunAction_)
            onRunAction_(action);
    });
    add(button);
    if (const auto reason = SupportPresentation::shownDisabledReason(action))
        add(captionSecondary(theme_, *reason, container));
}

QWidget* HealthCheckWizard::buildCapabilityRow(const QuorvaneSupportCapabilityRow& row) {
    auto* panel = new SurfacePanel(theme_, SurfacePanel::Kind::soft, 12, 16, content_);
    auto* panelColumn = column(panel, 8);
    auto* fit = new FitToWidth(8, 2, panel);
    fit->setRowAlignment(Qt::AlignTop);
    auto* status = new SupportStatusLabel(theme_, row.status, false, fit);
    followTheme(theme_, status, [this, status] {
        status->setLabelFont(theme_.font(QuorvaneFontStyle::caption, QFont::DemiBold));
    });
    auto* copy = new QWidget(fit);
    auto* copyColumn = column(copy, 2);
    copyColumn->addWidget(heading(theme_, text(row.title), QuorvaneFontStyle::body, copy));
    copyColumn->addWidget(captionSecondary(theme_, row.detail, copy));
    if (!row.actions.empty()) {
        copyColumn->addSpacing(2);
        auto* strip = new FitToWidth(8, 6, copy);
        for (const auto& action : row.actions)
            addActionEntry(strip, action, [strip](QWidget* widget) { strip->addWidget(widget); });
        copyColumn->addWidget(strip);
    }
    copy->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    fit->addWidget(status);
    fit->addWidget(copy);
    panelColumn->addWidget(fit);
    return panel;
}

QWidget* HealthCheckWizard::buildCapabilities() {
    auto* section = new QWidget(content_);
    auto* rows = column(section, 10);
    rows->addWidget(
        heading(theme_, QStringLiteral("되는 조정"), QuorvaneFontStyle::subheadline, section));
    for (const auto& row : summary_.capabilities)
        rows->addWidget(buildCapabilityRow(row));
    return section;
}

QWidget* HealthCheckWizard::buildSteps() {
    auto* section = new QWidget(content_);
    auto* steps = column(section, 10);
    steps->addWidget(
        heading(theme_, QStringLiteral("다음에 볼 순서"), QuorvaneFontStyle::subheadline, section));
    for (const auto& step : summary_.wizardSteps) {
        auto* line = new QWidget(section);
        auto* row = new QHBoxLayout(line);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(10);
        // The symbol takes the size of the step's text and stands centred in
        // a column of its own, so every step's texts start at the same x.
        const SupportStatusLook look = SupportPresentation::statusLook(step.status);
        auto* icon = statusSymbol(theme_, look, QuorvaneFontStyle::body, QFont::DemiBold, line);
        icon->setFixedWidth(kStepIconColumnWidth);
        row->addWidget(icon, 0, Qt::AlignTop);
        auto* copy = new QVBoxLayout;
        copy->setSpacing(3);
        copy->addWidget(heading(theme_, text(step.title), QuorvaneFontStyle::body, line));
        copy->addWidget(captionSecondary(theme_, step.detail, line));
        if (step.action) {
            // The button's reason stands beside it while both fit, and
            // below it, across the step's whole width, when they do not.
            auto* actions = new FitToWidth(6, 4, line);
            addActionEntry(actions, *step.action,
                           [actions](QWidget* widget) { actions->addWidget(widget); });
            copy->addWidget(actions);
        }
        row->addLayout(copy, 1);
        steps->addWidget(line);
    }
    return section;
}

QWidget* HealthCheckWizard::buildTechnicalDetails() {
    auto* section = new QWidget(content_);
    auto* lines = column(section, 6);
    auto* toggle = new DisclosureButton(theme_, QStringLiteral("지원용 세부 정보"),
                                        QuorvaneFontStyle::body, QFont::Normal, section);
    toggle->setChecked(expanded_);
    toggle->setObjectName(QStringLiteral("technicalDetailsToggle"));
    lines->addWidget(toggle, 0, Qt::AlignLeft);
    setSpokenDescription(toggle, expanded_ ? QStringLiteral("펼쳐짐") : QStringLiteral("접힘"));
    connect(toggle, &QAbstractButton::clicked, this,
            [this] { setTechnicalDetailsExpanded(!expanded_); });
    if (!expanded_)
        return section;
    lines->addWidget(captionSecondary(
        theme_, "앱이 잘 안 될 때 복사해 볼 정보입니다. 평소에는 접어 두세요.", section));
    for (const auto& line : summary_.technicalDetails) {
        auto* label = captionSecondary(theme_, "• " + line, section);
        label->setSelectable(true);
        lines->addWidget(label);
    }
    return section;
}

}  // namespace quorvane
