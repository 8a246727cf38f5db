#include "tests/app/uia_client.h"

#include <cstdio>

#include "helpers/win32.h"
#include "tests/app/screen_capture.h"

namespace apptest {

using win32::Narrow;

std::string Hex(HRESULT result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
  return text;
}

namespace {

// The children of node, each kept until the visitor has seen it.
template <typename Visit>
HRESULT ForEachChild(const UiaClient& client, UiaClient::Node node, Visit visit) {
  HRESULT result = S_OK;
  UiaClient::Node child = client.Step(node, NavigateDirection_FirstChild, result);
  for (int guard = 0; child != nullptr && guard < 100; ++guard) {
    visit(child);
    UiaClient::Node next = client.Step(child, NavigateDirection_NextSibling, result);
    client.Release(child);
    child = next;
  }
  client.Release(child);
  return result;
}

}  // namespace

TreeRead ReadTree(const UiaClient& client, HWND window, bool withFocus) {
  TreeRead read;
  HRESULT result = S_OK;
  UiaClient::Node root = client.FromWindow(window, result);
  if (root == nullptr) {
    read.failure = "UiaNodeFromHandle answered " + Hex(result);
    return read;
  }
  result = ForEachChild(client, root, [&](UiaClient::Node child) {
    ChartRead chart{client.Text(child, UIA_AutomationIdPropertyId),
                    client.Text(child, UIA_NamePropertyId),
                    {},
                    ""};
    if (chart.id != L"UpperChart" && chart.id != L"LowerChart") return;  // "Regen", "Gray"
    if (withFocus && client.Flag(child, UIA_HasKeyboardFocusPropertyId)) chart.focus += "chart";
    ForEachChild(client, child, [&](UiaClient::Node slice) {
      if (withFocus && client.Flag(slice, UIA_HasKeyboardFocusPropertyId)) {
        chart.focus += "Slice" + std::to_string(chart.slices.size());
      }
      chart.slices.push_back(client.Text(slice, UIA_NamePropertyId));
    });
    read.charts.push_back(chart);
  });
  client.Release(root);
  read.caption = win32::TextOf(window);
  if (read.charts.size() != 2) {
    read.failure = std::to_string(read.charts.size()) + " charts found (navigation answered " +
                   Hex(result) + ")";
  }
  return read;
}

std::string Describe(const TreeRead& read) {
  std::string text = read.failure;
  for (const ChartRead& chart : read.charts) {
    text += Narrow(chart.id) + " \"" + Narrow(chart.name) + "\"";
    if (!chart.focus.empty()) text += " (focus: " + chart.focus + ")";
    text += ":";
    for (const std::wstring& slice : chart.slices) text += " \"" + Narrow(slice) + "\"";
    text += "; ";
  }
  return text;
}

bool ReadTreeUntil(const UiaClient& client, HWND window, TreeRead& read, const TreeRead* earlier) {
  return WaitUntil(
      [&] {
        read = ReadTree(client, window, false);
        return read.failure.empty() &&
               (earlier == nullptr || read.charts[0].slices != earlier->charts[0].slices ||
                read.charts[1].slices != earlier->charts[1].slices);
      },
      20000);
}

}  // namespace apptest
