#pragma once

#include <QWidget>
#include <functional>

#include "models/diagnostics/quorvane_display_support_summary.hpp"

class QToolButton;
class QVBoxLayout;

namespace quorvane {

class Theme;

// What the program can and cannot do on one display and in which order to
// check things: a header with the overall status, one card per capability
// with its status and actions, the numbered next steps and a collapsed block
// of technical lines the user can select and copy. It only presents a
// ready-made summary: every button hands its action to `onRunAction` and the
// host decides. Rows, action strips and the header each stack by themselves
// when the window is narrow. setSummary() redraws; the technical block keeps
// its open or closed state while the wizard lives.
class HealthCheckWizard : public QWidget {
    Q_OBJECT

  public:
    using RunAction = std::function<void(const QuorvaneSupportAction&)>;

    HealthCheckWizard(Theme& theme, QuorvaneDisplaySupportSummary summary, RunAction onRunAction,
                      QWidget* parent = nullptr);

    void setSummary(QuorvaneDisplaySupportSummary summary);
    const QuorvaneDisplaySupportSummary& summary() const { return summary_; }
    bool technicalDetailsExpanded() const { return expanded_; }
    void setTechnicalDetailsExpanded(bool expanded);

  private:
    void rebuild();
    QWidget* buildHeader();
    QWidget* buildCapabilities();
    QWidget* buildSteps();
    QWidget* buildTechnicalDetails();
    QWidget* buildCapabilityRow(const QuorvaneSupportCapabilityRow& row);
    void addActionEntry(QWidget* container, const QuorvaneSupportAction& action,
                        std::function<void(QWidget*)> add);

    Theme& theme_;
    QuorvaneDisplaySupportSummary summary_;
    RunAction onRunAction_;
    bool expanded_ = false;
    QVBoxLayout* column_;
    QWidget* content_ = nullptr;
};

}  // namespace quorvane
