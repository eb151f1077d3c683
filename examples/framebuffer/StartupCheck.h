// Whether the firmware's start-up ran the constructors of globals (the
// .init_array), which a bare-metal start-up can silently skip: every firmware
// reports it, and its test fails when they did not run.
#pragma once

namespace example {

// True once the constructor of a global in StartupCheck.cpp has run.
bool GlobalsWereConstructed();

}  // namespace example
