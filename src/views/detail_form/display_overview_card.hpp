#pragma once

#include <QWidget>

#include "models/display/display_snapshot.hpp"
#include "presentation/detail_form/display_overview.hpp"

class QLineEdit;
class QPushButton;

namespace quorvane {

struct DetailFormContext;
class StatusPill;
class WrappingLabel;

// The card at the top of every grouped page: the display's label and
// identity badge, its mode, why it is (or is not) recognised surely, and the
// alias editor. The alias being typed is a draft kept in the window's state,
// so a redraw or page switch never loses it.
class DisplayOverviewCard : public QWidget {
    Q_OBJECT

  public:
    explicit DisplayOverviewCard(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display);

  signals:
    void draftsChanged();

  private:
    QWidget* makeAliasEditor();
    void tintBadge();

    DetailFormContext& context_;
    DisplayID displayID_ = 0;
    WrappingLabel* title_ = nullptr;
    StatusPill* badge_ = nullptr;
    IdentityBadgeTone badgeTone_ = IdentityBadgeTone::secondary;
    WrappingLabel* modeLine_ = nullptr;
    WrappingLabel* reason_ = nullptr;
    QLineEdit* aliasField_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
};

}  // namespace quorvane
