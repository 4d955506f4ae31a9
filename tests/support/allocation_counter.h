#pragma once

namespace varolen::testing {

// Calls of the global operator new since the program started.
long AllocationCount();

}  // namespace varolen::testing
