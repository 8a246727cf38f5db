// The program's own interfaces have the identifiers written in their declarations.

#include <gtest/gtest.h>

#include "chart/ipie_chart.h"
#include "d2d/id2d_helper.h"
#include "palette/ipalette.h"
#include "palette/irenderable.h"
#include "window/iwindow.h"

namespace {

TEST(InterfaceIdentifiers, MatchTheirStringForms) {
  const struct {
    const char* name;
    IID id;
    const wchar_t* text;
  } rows[] = {
      {"ID2DHelper", __uuidof(ID2DHelper), L"{CBA0E99F-A172-40F0-9FA6-60C0B7508429}"},
      {"IPalette", __uuidof(IPalette), L"{A66775CC-277B-4488-9A8D-914BDBACB85F}"},
      {"IPieChart", __uuidof(IPieChart), L"{3B05340F-6F56-4B81-906D-BCFE577FD988}"},
      {"IRenderable", __uuidof(IRenderable), L"{AB3E70B5-9544-4CBE-8BBF-24E3E5C34525}"},
      {"IWindow", __uuidof(IWindow), L"{E61D79BB-0773-4FF4-B337-38C739516DDC}"},
  };
  for (const auto& row : rows) {
    IID expected;
    ASSERT_EQ(S_OK, IIDFromString(row.text, &expected)) << row.name;
    EXPECT_EQ(expected, row.id) << row.name;
  }
}

}  // namespace
