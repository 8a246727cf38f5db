#pragma once
// The elements of the charts' tree: the window's client area as the root, one List per chart with
// the Selection pattern, one ListItem per slice with the SelectionItem pattern. Every element
// answers from the tree's latest snapshot and holds only where it stands (chart, slices'
// generation, slice); one whose chart or slices are gone, or whose window is gone, answers
// UIA_E_ELEMENTNOTAVAILABLE.

#include <memory>

#include "uia/accessible_tree.h"

// Makes the root element and hands it to the tree, which keeps it until it is disconnected.
orb::ComPtr<IRawElementProviderFragmentRoot> MakeRootElement(
    const std::shared_ptr<AccessibleTree>& tree);

// The element of chart (0 upper, 1 lower) and of one of its slices; empty when memory runs out.
orb::ComPtr<IRawElementProviderFragment> MakeChartElement(
    const std::shared_ptr<AccessibleTree>& tree, int chart);
orb::ComPtr<IRawElementProviderFragment> MakeSliceElement(
    const std::shared_ptr<AccessibleTree>& tree, int chart, UINT32 generation, int slice);

// The element of what the focus or a point names: a slice of the values of generation, a chart
// (slice -1), or nothing (chart -1: empty).
orb::ComPtr<IRawElementProviderFragment> ElementOf(const std::shared_ptr<AccessibleTree>& tree,
                                                   int chart, UINT32 generation, int slice);
