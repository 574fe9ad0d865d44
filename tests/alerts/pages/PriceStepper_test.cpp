#include "alerts/pages/PriceStepper.h"

#include <gtest/gtest.h>

namespace {

struct MoveCase {
  const char *name;
  bool fractions;
  const char *text;
  int steps;
  const char *expected;
};

const MoveCase kMoves[] = {
    {"decimal 5 up", false, "5", 1, "5.1"},
    {"decimal 4.95 up", false, "4.95", 1, "5"},
    {"decimal 1000 up", false, "1000", 1, "1000.2"},
    {"decimal 5 down", false, "5", -1, "4.95"},
    {"decimal 5.1 down", false, "5.1", -1, "5"},
    {"decimal 1000.2 down", false, "1000.2", -1, "1000"},
    {"decimal 0 up", false, "0", 1, "0.05"},
    {"decimal 0 down goes negative", false, "0", -1, "-0.05"},
    {"decimal -5 down", false, "-5", -1, "-5.1"},
    {"decimal page up", false, "1", 10, "1.5"},
    {"decimal page down", false, "10", -10, "9"},
    {"decimal off the grid snaps", false, "5.123", 1, "5.2"},
    {"decimal empty text", false, "", 1, "0.05"},
    {"fraction 5 up", true, "5", 1, "5 1/16"},
    {"fraction 100 up", true, "100", 1, "100 1/8"},
    {"fraction 1000 up", true, "1000", 1, "1000 1/4"},
    {"fraction 4 31/32 up", true, "4 31/32", 1, "5"},
    {"fraction 5 down", true, "5", -1, "4 31/32"},
    {"fraction 100 down", true, "100", -1, "99 15/16"},
};

} // namespace

TEST(PriceStepperTest, MovesOnThePriceGrid) {
  for (const MoveCase &c : kMoves) {
    TPriceStepper stepper;
    stepper.Fractions = c.fractions;
    EXPECT_EQ(stepper.Move(c.text, c.steps), c.expected) << c.name;
  }
}

TEST(PriceStepperTest, StepNumbersOfTierBoundaries) {
  TPriceStepper decimals;
  EXPECT_EQ(decimals.PriceToStep(5), 100);
  EXPECT_EQ(decimals.PriceToStep(5.000005), 100); // within the tolerance
  EXPECT_EQ(decimals.PriceToStep(1000), 10050);
  EXPECT_EQ(decimals.PriceToStep(1000.2), 10051);
  EXPECT_EQ(decimals.PriceToStep(-5), -100);
  EXPECT_DOUBLE_EQ(decimals.StepToPrice(10051), 1000.2);
  EXPECT_DOUBLE_EQ(decimals.StepToPrice(-101), -5.1);

  TPriceStepper fractions;
  fractions.Fractions = true;
  EXPECT_EQ(fractions.PriceToStep(5), 160);
  EXPECT_EQ(fractions.PriceToStep(100), 1680);
  EXPECT_EQ(fractions.PriceToStep(1000), 8880);
  EXPECT_DOUBLE_EQ(fractions.StepToPrice(1), 1.0 / 32);
  EXPECT_DOUBLE_EQ(fractions.StepToPrice(8881), 1000.25);
}

TEST(PriceStepperTest, EveryStepRoundTrips) {
  for (bool frac : {false, true}) {
    TPriceStepper stepper;
    stepper.Fractions = frac;
    for (std::int64_t n = -12000; n <= 12000; n += 7)
      ASSERT_EQ(stepper.PriceToStep(stepper.StepToPrice(n)), n) << n << " fractions " << frac;
  }
}

TEST(PriceStepperTest, HugePricesDoNotOverflow) {
  TPriceStepper stepper;
  const double huge = 5e12;
  EXPECT_GT(stepper.PriceToStep(huge), 0);
  EXPECT_DOUBLE_EQ(stepper.StepToPrice(stepper.PriceToStep(huge)), huge);
}

TEST(PriceStepperTest, FixedStepWithoutTheGrid) {
  TPriceStepper stepper;
  stepper.StepMode = false;
  stepper.FixedStep = 5000;
  EXPECT_EQ(stepper.Move("12000", 1), "15000"); // 12000 rounds to step 2
  EXPECT_EQ(stepper.Move("1,230,000", -1), "1225000");
  stepper.FixedStep = 0.1;
  EXPECT_EQ(stepper.Move("2.5", 1), "2.6");
  EXPECT_EQ(stepper.Format(3), "3"); // not a price text
}

TEST(PriceStepperTest, ZeroFixedStepCountsAsOne) {
  TPriceStepper stepper;
  stepper.StepMode = false;
  stepper.FixedStep = 0;
  EXPECT_EQ(stepper.Move("7", 1), "8");
}

TEST(PriceStepperTest, ColumnSteps) {
  EXPECT_DOUBLE_EQ(TPriceStepper::ColumnStep(1), 0.1);
  EXPECT_DOUBLE_EQ(TPriceStepper::ColumnStep(5), 5000);
  EXPECT_DOUBLE_EQ(TPriceStepper::ColumnStep(6), 1.0);
  EXPECT_DOUBLE_EQ(TPriceStepper::ColumnStep(7), 10);
  EXPECT_DOUBLE_EQ(TPriceStepper::ColumnStep(0), 0); // a price column
}
