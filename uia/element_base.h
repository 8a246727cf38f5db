#pragma once
// What the three kinds of element share: their place in the tree, the answers that are the same
// for all, and the conversions of their answers into the types that UI Automation wants.

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "uia/accessible_tree.h"
#include "uia/elements.h"

// Answers of the elements, in UI Automation's types.
HRESULT StringAnswer(const wchar_t* text, VARIANT* answer);
HRESULT IntegerAnswer(int value, VARIANT* answer);
HRESULT BoolAnswer(bool value, VARIANT* answer);
HRESULT RuntimeIdAnswer(std::initializer_list<int> ids, SAFEARRAY** answer);
// What a chart or a slice answers for property: its type, name and automation id, that it is
// enabled and can take the keyboard focus, and whether it has it; nothing for the others.
HRESULT ItemPropertyAnswer(PROPERTYID property, CONTROLTYPEID type, const wchar_t* name,
                           const wchar_t* automationId, bool focused, VARIANT* answer);
// A rectangle of the client area, in screen pixels.
HRESULT RectAnswer(const TreeSnapshot& snapshot, const DipRect& dips, UiaRect* answer);

template <typename... Patterns>
class TreeElement
    : public orb::ComObject<IRawElementProviderSimple, IRawElementProviderFragment, Patterns...> {
 public:
  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
    if (options == nullptr) return E_INVALIDARG;
    // Not ProviderOptions_UseComThreading: clients call on threads of their own, which the tree
    // is made for, and Wine deadlocks clients in other processes when a provider asks for COM.
    *options = ProviderOptions_ServerSideProvider;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override {
    if (host == nullptr) return E_INVALIDARG;
    *host = nullptr;
    return tree_->Current() ? S_OK : uia::ElementNotAvailable;
  }

  // IRawElementProviderFragment
  HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** roots) override {
    if (roots == nullptr) return E_INVALIDARG;
    *roots = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** root) override {
    if (root == nullptr) return E_INVALIDARG;
    *root = nullptr;
    const orb::ComPtr<IRawElementProviderFragmentRoot> current = tree_->Root();
    if (!current) return uia::ElementNotAvailable;
    *root = current.Get();
    (*root)->AddRef();
    return S_OK;
  }

 protected:
  explicit TreeElement(std::shared_ptr<AccessibleTree> tree) : tree_(std::move(tree)) {}

  // Gives *provider the element's pattern when asked for the one it offers; nothing for others.
  template <typename Pattern>
  static HRESULT OfferPattern(bool stands, PATTERNID asked, PATTERNID offered, Pattern* pattern,
                              IUnknown** provider) {
    if (provider == nullptr) return E_INVALIDARG;
    *provider = nullptr;
    if (!stands) return uia::ElementNotAvailable;
    if (asked == offered) {
      pattern->AddRef();
      *provider = pattern;
    }
    return S_OK;
  }

  const std::shared_ptr<AccessibleTree> tree_;
};
