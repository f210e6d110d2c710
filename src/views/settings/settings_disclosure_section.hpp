#pragma once

#include <QWidget>

#include "views/design/disclosure_button.hpp"

class QVBoxLayout;

namespace quorvane {

class Theme;

// A folded section: a caption-sized, semibold label with a disclosure arrow
// that shows or hides the content below it. It starts folded.
class SettingsDisclosureSection : public QWidget {
    Q_OBJECT

  public:
    SettingsDisclosureSection(Theme& theme, const QString& label, QWidget* parent = nullptr);

    // The content's column (6 points below the label).
    QVBoxLayout* content() const { return contentLayout_; }
    DisclosureButton* header() const { return header_; }
    bool isExpanded() const;
    void setExpanded(bool expanded);

  private:
    DisclosureButton* header_ = nullptr;
    QWidget* body_ = nullptr;
    QVBoxLayout* contentLayout_ = nullptr;
};

}  // namespace quorvane
