#pragma once
// The stand-in draws only under Wine. Loaded by any other Windows (a folder copied by hand), each
// of its exports hands the call to the system's own d2d1.dll, loaded by full path from the system
// folder, so the program draws with Windows' Direct2D there. The choice is made from plain inputs,
// so that both ways can be tried under Wine.

#include <d2d1.h>
#include <windows.h>

namespace standin {

// The functions that d2d1.dll exports, as one table: the stand-in's own or another DLL's.
struct Direct2DEntries {
  HRESULT(WINAPI* createFactory)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
  void(WINAPI* makeRotateMatrix)(FLOAT, D2D1_POINT_2F, D2D1_MATRIX_3X2_F*);
  void(WINAPI* makeSkewMatrix)(FLOAT, FLOAT, D2D1_POINT_2F, D2D1_MATRIX_3X2_F*);
  BOOL(WINAPI* isMatrixInvertible)(const D2D1_MATRIX_3X2_F*);
  BOOL(WINAPI* invertMatrix)(D2D1_MATRIX_3X2_F*);
};

// Where the process runs, as far as the choice goes.
struct Host {
  bool underWine = false;
  wchar_t systemFolder[MAX_PATH] = {};  // where the system's own d2d1.dll lives
};

// This process: Wine as Wine documents it (ntdll.dll exports wine_get_version), and the folder
// that GetSystemDirectoryW names.
Host HostOfThisProcess();

// What answers the exports, and the DLL loaded for it (null when none was; it stays loaded for
// as long as the route is used).
struct Route {
  Direct2DEntries entries{};
  HMODULE system = nullptr;
};

// Under Wine, own. Elsewhere the d2d1.dll of host.systemFolder, loaded by that full path, unless
// the folder is not absolute, the DLL is missing or lacks an export, or it is a stand-in (this one
// or a copy, which would hand the calls back): then D2D1CreateFactory fails with
// HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND), so nothing is drawn, and the matrix helpers, plain
// arithmetic, are own's.
Route ChooseRoute(const Host& host, const Direct2DEntries& own);

}  // namespace standin
