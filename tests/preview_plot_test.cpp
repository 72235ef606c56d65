// The preview's picture: frame, ticks, labels and data, as drawing steps.
#include "ui/preview_plot.h"

#include <gtest/gtest.h>

#include "core/store.h"

namespace talvo {
namespace {

template <class T>
std::vector<T> All(const Steps& steps) {
  std::vector<T> found;
  for (const Step& s : steps)
    if (const T* each = std::get_if<T>(&s)) found.push_back(*each);
  return found;
}

std::vector<std::string> Texts(const Steps& steps, step::Align align) {
  std::vector<std::string> texts;
  for (const auto& t : All<step::Text>(steps))
    if (t.align == align) texts.push_back(t.text);
  return texts;
}

std::vector<step::Line> Lines_In(const Steps& steps, Colour colour) {
  std::vector<step::Line> lines;
  for (const auto& l : All<step::Line>(steps))
    if (l.colour == colour) lines.push_back(l);
  return lines;
}

// A scan of `n` points from `start` in steps of `step`, point k holding k * 10.
Store Scan(int n, float start, double step, double r0, double r1, double max) {
  Store store;
  store.Nb_Points = n;
  store.Start_2Theta = start;
  store.Step_Size = step;
  store.Intensities.assign(n + 1, 0);
  for (int k = 1; k <= n; ++k) store.Intensities[k] = 10.0f * k;
  store.Range_Limits = {r0, r1};
  store.Max_Intensity = max;
  return store;
}

constexpr double W = 6600;  // twips: cw = 2 x units

TEST(Preview_Plot, LabelsReadTheRangeAndTheIntensityScale) {
  Store store = Scan(5, 3, 1, 3, 70, 1012);
  const Steps steps = Preview_Plot(store, W, '.');
  EXPECT_EQ(Texts(steps, step::Align::Centre),
            (std::vector<std::string>{"3.00", "16.40", "29.80", "43.20", "56.60", "70.00"}));
  EXPECT_EQ(Texts(steps, step::Align::Right),
            (std::vector<std::string>{"0", "101", "202", "304", "405", "506", "607", "708", "810", "911", "1012"}));
  EXPECT_EQ(Texts(Preview_Plot(store, W, ','), step::Align::Centre)[1], "16,40");
}

TEST(Preview_Plot, FrameTicksAndLabelsComeInOrderAndArePlacedThroughTheCharacterWidth) {
  Store store = Scan(5, 3, 1, 3, 70, 1012);
  const Steps steps = Preview_Plot(store, W, '.');
  ASSERT_GE(steps.size(), 6u);
  EXPECT_EQ(std::get<step::Coordinates>(steps[0]), (step::Coordinates{-15, 110, 110, -20}));
  EXPECT_EQ(std::get<step::Filled_Rectangle>(steps[1]), (step::Filled_Rectangle{0, 0, 100, 100, Black, White}));
  EXPECT_EQ(std::get<step::Line>(steps[2]), (step::Line{0, 0, 0, -1.5, Black}));
  EXPECT_EQ(std::get<step::Line>(steps[3]), (step::Line{0, 0, -1, 0, Black}));
  EXPECT_EQ(std::get<step::Text>(steps[4]).text, "3.00");
  EXPECT_EQ(std::get<step::Text>(steps[5]).text, "0");

  // i = 10 has no x label; i = 20 labels 16.40 centred under its tick.
  const auto texts = All<step::Text>(steps);
  const auto x_label = std::find_if(texts.begin(), texts.end(), [](auto& t) { return t.text == "16.40"; });
  ASSERT_NE(x_label, texts.end());
  EXPECT_DOUBLE_EQ(x_label->x, 20 - 5 * 2 / 2.0);
  EXPECT_DOUBLE_EQ(x_label->y, -2);
  const auto y_label = std::find_if(texts.begin(), texts.end(), [](auto& t) { return t.text == "101"; });
  ASSERT_NE(y_label, texts.end());
  EXPECT_DOUBLE_EQ(y_label->x, -2 - 3 * 2.0);
  EXPECT_DOUBLE_EQ(y_label->y, 10 + 2 / 0.6);
  EXPECT_EQ(Lines_In(steps, Black).size(), 22u);

  // A wider window gives a smaller character width, in x units.
  const auto wider = All<step::Text>(Preview_Plot(store, 2 * W, '.'));
  EXPECT_DOUBLE_EQ(wider[1].x, -2 - 1 * 1.0);
  EXPECT_DOUBLE_EQ(wider[1].y, 0 + 1 / 0.6);
}

TEST(Preview_Plot, AScanFillingItsRangeRunsFromEdgeToEdgeStartingWithADot) {
  Store store = Scan(11, 10, 2, 10, 30, 110);  // t = 10..30, largest 110
  const Steps steps = Preview_Plot(store, W, '.');
  const auto dots = All<step::Dot>(steps);
  ASSERT_EQ(dots.size(), 1u);
  EXPECT_EQ(dots[0], (step::Dot{0, 10 * (100 / 110.0), Red}));
  const auto curve = Lines_In(steps, Red);
  ASSERT_EQ(curve.size(), 10u);
  EXPECT_DOUBLE_EQ(curve.front().x1, 0);
  EXPECT_DOUBLE_EQ(curve.front().x2, 10);
  EXPECT_DOUBLE_EQ(curve.back().x2, 100);
  EXPECT_DOUBLE_EQ(curve.back().y2, 100);
  for (std::size_t i = 1; i < curve.size(); ++i) {
    EXPECT_EQ(curve[i].x1, curve[i - 1].x2);
    EXPECT_EQ(curve[i].y1, curve[i - 1].y2);
  }
}

TEST(Preview_Plot, AScanWiderThanItsRangeIsCutAtTheRange) {
  Store store = Scan(10, 2, 1, 4, 8, 100);  // t = 2..11; 4..8 are drawn
  const Steps steps = Preview_Plot(store, W, '.');
  const auto dots = All<step::Dot>(steps);
  ASSERT_EQ(dots.size(), 1u);
  EXPECT_DOUBLE_EQ(dots[0].x, 0);
  EXPECT_DOUBLE_EQ(dots[0].y, 30);  // point 3 at t = 4
  const auto curve = Lines_In(steps, Red);
  ASSERT_EQ(curve.size(), 4u);
  EXPECT_DOUBLE_EQ(curve.back().x2, 100);
  EXPECT_DOUBLE_EQ(curve.back().y2, 70);  // point 7 at t = 8
}

TEST(Preview_Plot, PeaksAreSticksAtTheirStored2ThetaDownToTheAxis) {
  Store store;
  store.Is_Peak_List = True16;
  store.Nb_Peaks = 3;
  store.Peaks[1] = {26.64, 100};
  store.Peaks[2] = {50.0, 40};
  store.Peaks[3] = {80.0, 10};  // outside the range
  store.Range_Limits = {20, 60};
  store.Max_Intensity = 100;
  const Steps steps = Preview_Plot(store, W, '.');
  const auto sticks = Lines_In(steps, Dark_Blue);
  ASSERT_EQ(sticks.size(), 2u);
  EXPECT_DOUBLE_EQ(sticks[0].x1, (26.64 - 20) * 100 / 40);
  EXPECT_EQ(sticks[0].x2, sticks[0].x1);
  EXPECT_DOUBLE_EQ(sticks[0].y1, 100);
  EXPECT_DOUBLE_EQ(sticks[0].y2, 0);
  EXPECT_DOUBLE_EQ(sticks[1].x1, 75);
  EXPECT_DOUBLE_EQ(sticks[1].y1, 40);
  EXPECT_TRUE(Lines_In(steps, Red).empty());
  EXPECT_TRUE(All<step::Dot>(steps).empty());
}

TEST(Preview_Plot, NoScaleGivesTheEmptyFrameWithItsTicksAndLabels) {
  for (const Store& store : {Scan(10, 2, 1, 2, 11, 0), Scan(10, 2, 1, 5, 5, 100)}) {
    const Steps steps = Preview_Plot(store, W, '.');
    EXPECT_EQ(All<step::Filled_Rectangle>(steps).size(), 1u);
    EXPECT_EQ(Lines_In(steps, Black).size(), 22u);
    EXPECT_EQ(All<step::Text>(steps).size(), 17u);
    EXPECT_TRUE(Lines_In(steps, Red).empty());
    EXPECT_TRUE(All<step::Dot>(steps).empty());
  }
  // The start-up store announces 3350 points and holds none.
  Store start;
  start.Range_Limits = {3, 70};
  start.Max_Intensity = 100;
  EXPECT_TRUE(All<step::Dot>(Preview_Plot(start, W, '.')).empty());
}

}  // namespace
}  // namespace talvo
