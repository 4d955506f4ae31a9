// The linkage records the host reads when it loads the module; the variable
// look-up (system.cpp) reads the table the host links into ImportTable.
#include "platform/win32/linkage.h"

namespace {

// The host calls these around the module's life; all the work happens in DllMain.
void __stdcall ModuleInit() {}
void __stdcall ModuleDeinit() {}

}  // namespace

extern "C" {

__declspec(dllexport) varolen::ImportTableRecord ImportTable = {{
    {varolen::kPanelServiceTableId, nullptr},
    {0, nullptr},
}};

__declspec(dllexport) varolen::LinkageRecord Linkage = {
    0x00000013, ModuleInit, ModuleDeinit, 0, 0, 0x00000900, nullptr,
};
}
