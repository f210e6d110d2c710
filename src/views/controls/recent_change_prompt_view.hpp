#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "platform/interfaces/scheduler.hpp"
#include "presentation/design/text_shade.hpp"

class QLabel;
class QPushButton;
class QScrollArea;

namespace quorvane {

class DisplayStore;
class FitToWidth;
class ShrinkingLabel;
class StatusPill;
class SymbolImage;
class Theme;
class WrappingLabel;
struct ViewContext;

// The banner offering to undo the latest colour change. It shows the store's
// prompt while there is one and hides itself when the store clears it (keep,
// undo, the 8-second dismissal or anything else); it never hides on its own.
// The countdown is recomputed from the prompt's publication time on a timer
// aligned to whole seconds after it (never a decremented counter). "되돌리기"
// and "이 설정 유지" pass the shown prompt's id, so a newer prompt is never
// undone or closed by mistake.
//
// A screen reader hears the prompt once as it appears in the window the user
// works in, and again when a newer change replaces it. When it goes with
// the focus on one of its buttons (also while the user is in another
// window), the focus goes back to where the user was working, on a control
// where a Return or Space meant for "되돌리기" does nothing
// (PromptFocusReturn): the slider the change came from (the control holding
// the focus as the prompt appeared), else a slider of its row or its card,
// else the card itself (a preset's row, a panel section), held for the
// moment; never a button, never out of the card, never on to whatever
// follows the prompt.
class RecentChangePromptView : public QWidget {
    Q_OBJECT

  public:
    using Now = std::function<MonotonicTime()>;

    RecentChangePromptView(ViewContext& context, bool compact, QWidget* parent = nullptr);

    // The clock the countdown reads, the store's timers' by default (tests
    // pass a controllable one).
    void setClock(Now now);
    void refresh();
    // The scroll area the banner sits in or just above: when the banner
    // appears, goes or changes height, the content under the pointer stays
    // where it is. Call it after connecting anything else to changed().
    void keepStill(QScrollArea* area);

    int shownSeconds() const { return shownSeconds_; }
    // Milliseconds from the last update to the next tick; 0 when stopped.
    int tickInterval() const { return tick_.isActive() ? tick_.interval() : 0; }
    QPushButton* undoButton() const { return undo_; }
    QPushButton* keepButton() const { return keep_; }

  signals:
    // Around every change of the banner's height: it appears, goes, or shows
    // another prompt's texts (the countdown alone never emits them). A
    // scroll area around or below it keeps its content still through them.
    void aboutToChange();
    void changed();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Shown {
        std::string id;
        std::string title;
        std::string message;
        std::string targets;
        bool operator==(const Shown&) const = default;
    };

    void showPrompt(const Shown& shown);
    void giveBackFocus();
    void updateCountdown();
    void armTimer();
    TextGround ground() const;
    void restyle();

    DisplayStore& store_;
    Theme& theme_;
    bool compact_;
    Now now_;
    std::optional<Shown> shown_;
    // The control the focus stood on as the prompt appeared.
    QPointer<QWidget> origin_;
    MonotonicTime shownAt_{};
    int shownSeconds_ = 0;
    QTimer tick_;
    SymbolImage* icon_;
    QLabel* heading_;
    StatusPill* pill_;
    WrappingLabel* title_;
    WrappingLabel* message_;
    ShrinkingLabel* targets_;
    QPushButton* undo_;
    QPushButton* keep_;
    FitToWidth* headingRow_;
    FitToWidth* outer_;
};

}  // namespace quorvane
