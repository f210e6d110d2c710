#include "presentation/detail_form/new_entry_name.hpp"

#include "models/coding/unicode_text.hpp"

namespace quorvane {

bool NewEntryName::saveDisabled(const std::string& name) {
    return trimWhitespaceAndNewlines(name).empty();
}

void NewEntryName::save(std::string& name, const std::function<void(const std::string&)>& store) {
    // A copy: the store call may lead to a redraw that reads the field.
    const std::string typed = name;
    name.clear();
    store(typed);
}

}  // namespace quorvane
