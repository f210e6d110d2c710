#pragma once

#include <QLabel>
#include <QWidget>
#include <functional>

namespace quorvane {

class ChipButton;
class FitToWidth;
class SymbolImage;
class Theme;
class WrappingLabel;

// A short note with a shield, for the start page: a title over a wrapping
// explanation.
class BeginnerCallout : public QWidget {
    Q_OBJECT

  public:
    BeginnerCallout(Theme& theme, const QString& title, const QString& message,
                    QWidget* parent = nullptr);

  private:
    void restyle();

    Theme& theme_;
    SymbolImage* shield_ = nullptr;
    WrappingLabel* title_ = nullptr;
    WrappingLabel* message_ = nullptr;
};

// The number of a beginner step on a copper capsule, 44 points wide (56 at
// the largest text size) and at least 28 high.
class StepNumberBadge : public QLabel {
    Q_OBJECT

  public:
    StepNumberBadge(Theme& theme, const QString& number, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void restyle();

    Theme& theme_;
};

// One numbered step of the start page on a soft panel: the badge, a title
// and an explanation, and a button that runs the step's action. Side by side
// while it fits; otherwise the button moves under the text.
class BeginnerStepRow : public QWidget {
    Q_OBJECT

  public:
    BeginnerStepRow(Theme& theme, const QString& number, const QString& title,
                    const QString& detail, const QString& buttonTitle, std::function<void()> action,
                    QWidget* parent = nullptr);

    FitToWidth* arrangement() const { return fit_; }
    ChipButton* button() const { return button_; }

  private:
    void restyle();

    Theme& theme_;
    FitToWidth* fit_ = nullptr;
    WrappingLabel* title_ = nullptr;
    WrappingLabel* detail_ = nullptr;
    ChipButton* button_ = nullptr;
};

}  // namespace quorvane
