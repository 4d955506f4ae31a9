#include "cockpit/cockpit_controller.h"

namespace varolen {

CockpitControllerRecord CockpitController;

}  // namespace varolen
