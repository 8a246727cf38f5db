#pragma once
// The UI Automation provider interfaces and identifiers that the tree uses. The Windows SDK
// declares all of them; mingw-w64 lacks the selection patterns, the event and control type
// identifiers and most of <uiautomationcoreapi.h> (which it also writes in a way C++ rejects), so
// what is missing is declared here from Microsoft's documentation, each behind the guard that the
// SDK's own declaration defines.

#include <windows.h>
#include <ole2.h>

#ifdef __MINGW32__
#include <uiautomationclient.h>
#include <uiautomationcore.h>
#else
#include <uiautomation.h>
#endif

#include "com/com_object.h"

#ifndef __ISelectionProvider_INTERFACE_DEFINED__
#define __ISelectionProvider_INTERFACE_DEFINED__
struct DECLSPEC_UUID("FB8B03AF-3BDF-48D4-BD36-1A65793BE168") DECLSPEC_NOVTABLE ISelectionProvider
    : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** selection) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* canSelectMultiple) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* isSelectionRequired) = 0;
};
ORB_DECLARE_UUID(ISelectionProvider, 0xfb8b03af, 0x3bdf, 0x48d4, 0xbd, 0x36, 0x1a, 0x65, 0x79, 0x3b,
                 0xe1, 0x68)
#endif

#ifndef __ISelectionItemProvider_INTERFACE_DEFINED__
#define __ISelectionItemProvider_INTERFACE_DEFINED__
struct DECLSPEC_UUID("2ACAD808-B2D4-452D-A407-91FF1AD167B2")
    DECLSPEC_NOVTABLE ISelectionItemProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Select() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* isSelected) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SelectionContainer(
      IRawElementProviderSimple** container) = 0;
};
ORB_DECLARE_UUID(ISelectionItemProvider, 0x2acad808, 0xb2d4, 0x452d, 0xa4, 0x07, 0x91, 0xff, 0x1a,
                 0xd1, 0x67, 0xb2)
#endif

#ifndef UIA_StructureChangedEventId
#define UIA_StructureChangedEventId (20002)
#endif
#ifndef UIA_AutomationPropertyChangedEventId
#define UIA_AutomationPropertyChangedEventId (20004)
#endif
#ifndef UIA_AutomationFocusChangedEventId
#define UIA_AutomationFocusChangedEventId (20005)
#endif
#ifndef UIA_SelectionItem_ElementRemovedFromSelectionEventId
#define UIA_SelectionItem_ElementRemovedFromSelectionEventId (20011)
#endif
#ifndef UIA_SelectionItem_ElementSelectedEventId
#define UIA_SelectionItem_ElementSelectedEventId (20012)
#endif
#ifndef UIA_ListItemControlTypeId
#define UIA_ListItemControlTypeId (50007)
#endif
#ifndef UIA_ListControlTypeId
#define UIA_ListControlTypeId (50008)
#endif

// Values of <uiautomationcoreapi.h>, under names of their own so that they never meet its macros.
namespace uia {

// WM_GETOBJECT's object id that asks for a UI Automation provider.
constexpr LONG RootObjectId = -25;
// The first entry of a fragment's runtime id: the system prefixes the window's own.
constexpr int AppendRuntimeId = 3;
// What an element answers once what it stood for is gone.
constexpr HRESULT ElementNotAvailable = static_cast<HRESULT>(0x80040201);
// An operation that the element cannot do in its state.
constexpr HRESULT InvalidOperation = static_cast<HRESULT>(0x80131509);
// StructureChangeType_ChildrenInvalidated.
constexpr int ChildrenInvalidated = 2;

}  // namespace uia
