/* Identifiers and captions shared by the dialog templates (module.rc, through
   windres) and the code. Plain macros, so that the resource compiler reads them. */
#ifndef VAROLEN_UI_DIALOG_RESOURCES_H
#define VAROLEN_UI_DIALOG_RESOURCES_H

#define VAROLEN_SETUP_DIALOG 101
#define VAROLEN_ABOUT_DIALOG 102
#define VAROLEN_MOTION_DIALOG 103
#define VAROLEN_SETUP_CAPTION "Varolen Setup"
#define VAROLEN_ABOUT_CAPTION "About Varolen..."
#define VAROLEN_MOTION_CAPTION "Varolen Motion"

#endif
