#pragma once

#include <QPointer>

#include "presentation/main_window/main_window_section.hpp"
#include "views/detail_form/detail_page.hpp"

namespace quorvane {

class DisplayOverviewCard;

// The grouped form of the eight advanced and collection sections: the
// recent-change prompt above the scrolling form, then the display's overview
// card and the section's content under its header.
class GroupedFormPage : public DetailPage {
    Q_OBJECT

  public:
    GroupedFormPage(DetailFormContext& context, MainWindowSection section,
                    QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display) override;

    DetailPage* content() const { return content_; }

  private:
    DisplayOverviewCard* overview_ = nullptr;
    QPointer<DetailPage> content_;
};

// The content of one grouped section; none for the two scroll pages.
DetailPage* makeSectionContent(DetailFormContext& context, MainWindowSection section);

}  // namespace quorvane
