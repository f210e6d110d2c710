#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "models/diagnostics/quorvane_display_support_summary.hpp"

class QVBoxLayout;

namespace quorvane {

class DisclosureButton;
class KeyedRows;
class SymbolImage;
class Theme;
class WrappingLabel;

// What the program can and cannot do on one display and in which order to
// check things: a header with the overall status, one card per capability
// with its status and actions, the numbered next steps and a collapsed block
// of technical lines the user can select and copy. It only presents a
// ready-made summary: every button hands its action to `onRunAction` and the
// host decides. Rows, action strips and the header each stack by themselves
// when the window is narrow. setSummary() changes what is shown in place (a
// capability, step or action keeps its widgets while it is listed); the
// technical block keeps its open or closed state while the wizard lives.
class HealthCheckWizard : public QWidget {
    Q_OBJECT

  public:
    using RunAction = std::function<void(const QuorvaneSupportAction&)>;

    HealthCheckWizard(Theme& theme, QuorvaneDisplaySupportSummary summary, RunAction onRunAction,
                      QWidget* parent = nullptr);
    ~HealthCheckWizard() override;

    void setSummary(QuorvaneDisplaySupportSummary summary);
    const QuorvaneDisplaySupportSummary& summary() const { return summary_; }
    bool technicalDetailsExpanded() const { return expanded_; }
    void setTechnicalDetailsExpanded(bool expanded);

  private:
    void showSummary();
    void showTechnicalDetails();
    QWidget* buildHeader();
    QWidget* buildCapabilities();
    QWidget* buildSteps();
    QWidget* buildTechnicalDetails();

    Theme& theme_;
    QuorvaneDisplaySupportSummary summary_;
    RunAction onRunAction_;
    bool expanded_ = false;
    QVBoxLayout* column_;
    SymbolImage* headerIcon_ = nullptr;
    WrappingLabel* headerSubtitle_ = nullptr;
    WrappingLabel* headerMessage_ = nullptr;
    std::unique_ptr<KeyedRows> capabilities_;
    std::unique_ptr<KeyedRows> steps_;
    DisclosureButton* detailsToggle_ = nullptr;
    QWidget* detailsBody_ = nullptr;
    std::unique_ptr<KeyedRows> detailLines_;
};

}  // namespace quorvane
