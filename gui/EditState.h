#pragma once

#include <cstdint>

// Where the typed-value box stands: 0 none, 1 editing, 2 cancel, 3 commit. The window's timer
// tick acts on cancel and commit and resets any other state to none.
enum class EditState : std::int32_t { None = 0, Editing = 1, Cancel = 2, Commit = 3 };
