#include "alerts/ui/AlertLogLayout.h"

#include <gtest/gtest.h>

namespace {

struct Row {
  const char *name;
  QSize client;
  QSize close;
  QSize clear;
  QRect wantClose;
  QRect wantClear;
  int wantListHeight;
};

class AlertLogLayoutTable : public ::testing::TestWithParam<Row> {};

TEST_P(AlertLogLayoutTable, PlacesTheControls) {
  const Row &row = GetParam();
  const AlertLogLayout place = LayoutAlertLog(row.client, row.close, row.clear);
  EXPECT_EQ(place.close, row.wantClose);
  EXPECT_EQ(place.clear, row.wantClear);
  EXPECT_EQ(place.list, QRect(0, 0, row.client.width(), row.wantListHeight));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, AlertLogLayoutTable,
    ::testing::Values(
        // Room enough: Clear Log centred, Close in the corner 2 px in.
        Row{"Wide", {400, 300}, {75, 25}, {80, 25}, {323, 273, 75, 25}, {160, 273, 80, 25}, 271},
        // An odd difference is truncated.
        Row{"OddWidth",
            {401, 300},
            {75, 25},
            {80, 25},
            {324, 273, 75, 25},
            {160, 273, 80, 25},
            271},
        // Clear ends exactly 5 px left of Close: still centred.
        // (w - 80) / 2 + 80 = w - 2 - 75 - 5  ->  w = 244
        Row{"JustFits", {244, 100}, {75, 25}, {80, 25}, {167, 73, 75, 25}, {82, 73, 80, 25}, 71},
        // One pixel narrower: Clear moves to the left edge.
        Row{"TooNarrow", {242, 100}, {75, 25}, {80, 25}, {165, 73, 75, 25}, {2, 73, 80, 25}, 71},
        // Taller buttons on Close set the line for both.
        Row{"TallClose",
            {400, 200},
            {75, 30},
            {80, 25},
            {323, 168, 75, 30},
            {160, 168, 80, 25},
            166},
        // A client lower than the buttons leaves the list no height.
        Row{"Tiny", {100, 20}, {75, 25}, {80, 25}, {23, -7, 75, 25}, {2, -7, 80, 25}, 0}),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

} // namespace
