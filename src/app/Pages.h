#pragma once

namespace arx {

// The pages of the page area, in the order of their page buttons (HELP opens the manual
// and is not a page).
enum class Page { Mic = 0, Speaker = 1, Routing = 2 };

} // namespace arx
