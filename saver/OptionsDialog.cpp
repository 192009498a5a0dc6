// The configuration dialog, resource 2003 "Life Options".
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include "DialogIds.h"
#include "FaceCatalogue.h"
#include "OptionsLogic.h"
#include "SaverContract.h"
#include "SaverDialogs.h"
#include "Settings.h"

namespace {

// Owned by the dialog from its opening to its closing: its own copy of the
// settings, which the user's work changes and OK saves, and the catalogue.
SaverSettings settings = kLoadTimeSettings;
FaceInfo faceCatalogue[kMaxFaces];
unsigned faceCount = 0;

LRESULT SendItem(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

bool IsChecked(HWND dialog, int id) {
  return SendItem(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckIfOn(HWND dialog, int id, uint32_t flag) {
  if (flag != 0) SendItem(dialog, id, BM_SETCHECK, BST_CHECKED, 0);
}

// The faces list: the catalogue with the current face set selected, or,
// without a catalogue, the current file name alone in a disabled list. A
// drop-down list shows only its items, so that name goes in as its item.
void ShowFaces(HWND dialog) {
  if (faceCount != 0) {
    FillFaceList(dialog, IDC_FACES, faceCatalogue, faceCount);
  } else {
    const char* name = settings.face.loadImage;
    SetDlgItemTextA(dialog, IDC_FACES, name);
    SendItem(dialog, IDC_FACES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    EnableWindow(GetDlgItem(dialog, IDC_FACES), FALSE);
  }
  const unsigned selected = FaceSelectionIndex(faceCatalogue, faceCount, settings.face.loadImage);
  SendItem(dialog, IDC_FACES, CB_SETCURSEL, selected, 0);
}

BOOL InitOptions(HWND dialog) {
  // Registers the up-down class; Windows 95 and NT 4.0 as shipped have no
  // InitCommonControlsEx.
  InitCommonControls();

  SaverSettings defaults = kLoadTimeSettings;
  ApplyDialogDefaults(defaults);
  settings = LoadSettings(defaults);
  faceCount = ReadFaceCatalogue("life.nfo", faceCatalogue, kMaxFaces);
  ShowFaces(dialog);

  CheckIfOn(dialog, IDC_ACTIVITY_BAR, settings.bActivityBar);
  CheckIfOn(dialog, IDC_MINI_DISPLAY, settings.bMiniDisplay);
  CheckIfOn(dialog, IDC_FRAME_SCREEN, settings.bFrameScreen);
  CheckIfOn(dialog, IDC_SPAN_MONITORS, settings.bSpanMonitors);
  AttachUpDown(dialog, IDC_DELAY, kDelayRange.lower, kDelayRange.upper, settings.delay);
  AttachUpDown(dialog, IDC_SEED, kSeedRange.lower, kSeedRange.upper, settings.seed);
  AttachUpDown(dialog, IDC_INITPOP, kInitpopRange.lower, kInitpopRange.upper, settings.initpop);

  HICON icon = LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_LIFE));
  SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
  return TRUE;  // the dialog manager focuses the first control
}

void CloseOptions(HWND dialog) {
  FreeFaceCatalogue(faceCatalogue, faceCount);
  faceCount = 0;
  EndDialog(dialog, 0);
}

void SaveAndClose(HWND dialog) {
  OptionsInput input{};
  input.activityBar = IsChecked(dialog, IDC_ACTIVITY_BAR);
  input.miniDisplay = IsChecked(dialog, IDC_MINI_DISPLAY);
  input.frameScreen = IsChecked(dialog, IDC_FRAME_SCREEN);
  input.spanMonitors = IsChecked(dialog, IDC_SPAN_MONITORS);
  // The up-downs share their edits' identifiers; the edits come first, so
  // these reach the edits. Unreadable text gives 0.
  input.delay = GetDlgItemInt(dialog, IDC_DELAY, nullptr, FALSE);
  input.seed = GetDlgItemInt(dialog, IDC_SEED, nullptr, FALSE);
  input.initpop = GetDlgItemInt(dialog, IDC_INITPOP, nullptr, FALSE);
  input.selectedIndex = static_cast<int>(SendItem(dialog, IDC_FACES, CB_GETCURSEL, 0, 0));
  SaveOptions(settings, input, faceCatalogue, faceCount);
  CloseOptions(dialog);
}

}  // namespace

void AttachUpDown(HWND dialog, int editId, uint32_t lower, uint32_t upper, uint32_t position) {
  CreateUpDownControl(
      WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS, 20,
      10, 50, 50, dialog, editId, AppInstance(), GetDlgItem(dialog, editId),
      static_cast<int>(upper), static_cast<int>(lower), static_cast<int>(position));
  // The control would move such a position into its range; the edit shows
  // the stored value instead, and OK applies the dialog's own limits.
  if (OutsideRange(position, {lower, upper})) SetDlgItemInt(dialog, editId, position, FALSE);
}

void ChooseDisplayColor(HWND owner, uint32_t& color) {
  COLORREF customColors[16];
  for (COLORREF& custom : customColors) custom = color;
  CHOOSECOLORA chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = owner;
  chooser.lpCustColors = customColors;
  if (ChooseColorA(&chooser)) color = chooser.rgbResult;
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return InitOptions(dialog);
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
      SaveAndClose(dialog);
      return TRUE;
    case IDCANCEL:
      CloseOptions(dialog);
      return TRUE;
    case IDC_COLOR:
      ChooseDisplayColor(dialog, settings.displayColor);
      return TRUE;
    case IDC_ABOUT:
      DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_ABOUT), dialog, AboutDialogProc, 0);
      return TRUE;
    default:
      return FALSE;
  }
}
