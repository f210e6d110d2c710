#pragma once

#include <optional>
#include <string>

#include "presentation/main_window/main_window_section.hpp"

namespace quorvane {

// Which page the detail form shows for a section: the two scroll pages
// (start guide, colour) or the grouped form, where the overview card comes
// first and the section's content follows under its header.
enum class DetailFormLayout { startGuide, colorReference, groupedForm };

struct DetailFormPage {
    static DetailFormLayout layout(MainWindowSection section);
    // The header of the grouped form's one section; none for the scroll
    // pages and for recovery, whose sections carry their own headers.
    static std::optional<std::string> header(MainWindowSection section);
};

}  // namespace quorvane
