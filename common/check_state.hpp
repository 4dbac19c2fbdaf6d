#pragma once

namespace pliego {

// The three states of a check box, with the values the INI file stores.
enum class CheckState { Unchecked = 0, Checked = 1, Grayed = 2 };

}  // namespace pliego
