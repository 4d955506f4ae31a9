#include "interaction/input_router.h"

namespace varolen {

int RouteCockpitInput(CockpitControllerRecord& /*controller*/, platform::WindowHandle /*window*/,
                      std::uint32_t /*message*/, std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/) {
  // Bindings and mouse handling come with the input subsystem; nothing is consumed yet.
  return 0;
}

}  // namespace varolen
