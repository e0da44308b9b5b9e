#pragma once
// Names the calling thread for debuggers and crash reports.

namespace glimmerly::win {

// SetThreadDescription is newer than some systems that run the program: it
// is looked up rather than imported, and a missing one only costs the name.
void name_this_thread(const wchar_t* name) noexcept;

}  // namespace glimmerly::win
