#include "views/detail_form/detail_page.hpp"
