/* Resource ids of setup, shared by setup.rc and the code. */
#pragma once

#define SETUP_DIALOG 101
#define SETUP_ICON 102
#define SETUP_INTRO_EDIT 1000
#define SETUP_INSTALL_BUTTON 1 /* IDOK */
#define SETUP_CANCEL_BUTTON 2  /* IDCANCEL */
