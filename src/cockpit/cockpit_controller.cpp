#include "cockpit/cockpit_controller.h"

namespace varolen {

CockpitControllerRecord CockpitController;

int TickCockpitController(CockpitControllerRecord& /*controller*/) {
  // The cockpit view update comes with the cockpit controller.
  return 1;
}

}  // namespace varolen
