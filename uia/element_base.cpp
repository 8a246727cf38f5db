#include "uia/element_base.h"

#include <algorithm>

HRESULT StringAnswer(const wchar_t* text, VARIANT* answer) {
  answer->bstrVal = SysAllocString(text);
  if (answer->bstrVal == nullptr) return E_OUTOFMEMORY;
  answer->vt = VT_BSTR;
  return S_OK;
}

HRESULT IntegerAnswer(int value, VARIANT* answer) {
  answer->vt = VT_I4;
  answer->lVal = value;
  return S_OK;
}

HRESULT BoolAnswer(bool value, VARIANT* answer) {
  answer->vt = VT_BOOL;
  answer->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT ItemPropertyAnswer(PROPERTYID property, CONTROLTYPEID type, const wchar_t* name,
                           const wchar_t* automationId, bool focused, VARIANT* answer) {
  switch (property) {
    case UIA_ControlTypePropertyId:
      return IntegerAnswer(type, answer);
    case UIA_NamePropertyId:
      return StringAnswer(name, answer);
    case UIA_AutomationIdPropertyId:
      return StringAnswer(automationId, answer);
    case UIA_IsEnabledPropertyId:
    case UIA_IsKeyboardFocusablePropertyId:
      return BoolAnswer(true, answer);
    case UIA_HasKeyboardFocusPropertyId:
      return BoolAnswer(focused, answer);
    default:
      return S_OK;
  }
}

HRESULT RuntimeIdAnswer(std::initializer_list<int> ids, SAFEARRAY** answer) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(ids.size()));
  if (array == nullptr) return E_OUTOFMEMORY;
  void* data = nullptr;
  const HRESULT access = SafeArrayAccessData(array, &data);
  if (FAILED(access)) {
    SafeArrayDestroy(array);
    return access;
  }
  std::copy(ids.begin(), ids.end(), static_cast<LONG*>(data));
  SafeArrayUnaccessData(array);
  *answer = array;
  return S_OK;
}

HRESULT RectAnswer(const TreeSnapshot& snapshot, const DipRect& dips, UiaRect* answer) {
  const double scale = snapshot.pixelsPerDip;
  answer->left = snapshot.client.left + dips.left * scale;
  answer->top = snapshot.client.top + dips.top * scale;
  answer->width = (dips.right - dips.left) * scale;
  answer->height = (dips.bottom - dips.top) * scale;
  return S_OK;
}

orb::ComPtr<IRawElementProviderFragment> ElementOf(const std::shared_ptr<AccessibleTree>& tree,
                                                   int chart, UINT32 generation, int slice) {
  if (chart < 0) return nullptr;
  return slice < 0 ? MakeChartElement(tree, chart)
                   : MakeSliceElement(tree, chart, generation, slice);
}
