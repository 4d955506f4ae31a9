// The module's modal dialogs through USER32. The procedure only moves texts and
// check marks between the controls and the fields the core prepared.
#include "platform/dialogs.h"

#include <windows.h>

namespace varolen::platform {

namespace {

struct DialogContext {
  DialogField* fields;
  int count;
  bool cancelCloses;
};

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const auto* context = reinterpret_cast<const DialogContext*>(lParam);
      for (int index = 0; index < context->count; ++index) {
        const DialogField& field = context->fields[index];
        if (field.isText) {
          SetDlgItemTextA(dialog, field.id, field.text);
        } else {
          CheckDlgButton(dialog, field.id, field.checked ? BST_CHECKED : BST_UNCHECKED);
        }
      }
      return TRUE;  // the system sets the default focus
    }
    if (message != WM_COMMAND) return FALSE;
    auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrA(dialog, DWLP_USER));
    const WORD command = LOWORD(wParam);
    if (command == IDOK) {
      for (int index = 0; index < context->count; ++index) {
        DialogField& field = context->fields[index];
        if (field.isText) {
          GetDlgItemTextA(dialog, field.id, field.text, sizeof field.text);
        } else {
          field.checked = IsDlgButtonChecked(dialog, field.id) == BST_CHECKED;
        }
      }
      EndDialog(dialog, 1);
    } else if (command == IDCANCEL && context->cancelCloses) {
      EndDialog(dialog, 0);
    }
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

}  // namespace

DialogResult RunModalDialog(ModuleHandle instance, int templateId, WindowHandle owner, DialogField* fields,
                            int fieldCount, bool cancelCloses) {
  DialogContext context = {fields, fieldCount, cancelCloses};
  const INT_PTR result =
      DialogBoxParamA(reinterpret_cast<HINSTANCE>(instance), MAKEINTRESOURCEA(templateId),
                      reinterpret_cast<HWND>(owner), DialogProcedure, reinterpret_cast<LPARAM>(&context));
  return result == 1 ? DialogResult::Accepted : DialogResult::Cancelled;
}

}  // namespace varolen::platform
