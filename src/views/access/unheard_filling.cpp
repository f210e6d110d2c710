#include "views/access/unheard_filling.hpp"

namespace quorvane {

UnheardFilling::UnheardFilling()
    : previous_(QAccessible::installUpdateHandler([](QAccessibleEvent*) {})) {}

UnheardFilling::~UnheardFilling() {
    QAccessible::installUpdateHandler(previous_);
}

}  // namespace quorvane
