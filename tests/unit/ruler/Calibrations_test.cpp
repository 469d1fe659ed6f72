// Calibrated resolutions kept per monitor in the settings.

#include "ruler/Calibrations.h"

#include <gtest/gtest.h>

#include "ruler/EdidSizes.h"

TEST(Calibrations, OnePerMonitorReplacedRemovedAndHandEditsPassedOver) {
  const std::string dell = R"(\\?\DISPLAY#DEL40A3#5&1a2b3c&0&UID4353#{e6f07b5f})";
  TQorvelStrings calibrations = {"junk", dell + "|abc", "other|300.5"};
  EXPECT_EQ(CalibrationFor(calibrations, dell), std::nullopt);
  // A credit card's 85.60 mm dragged to 367 pixels: 108.9 pixels to the inch.
  SetCalibration(calibrations, dell, PhysicalPixelsPerInch(367, 85.60));
  SetCalibration(calibrations, dell, PhysicalPixelsPerInch(367, 85.60));
  EXPECT_EQ(calibrations.size(), 3u) << "replaced, and the unreadable line of the same monitor with it";
  EXPECT_NEAR(*CalibrationFor(calibrations, dell), 108.900, 0.001);
  EXPECT_EQ(calibrations.back(), dell + "|108.900");
  EXPECT_EQ(*CalibrationFor(calibrations, "other"), 300.5);
  EXPECT_EQ(CalibrationFor(calibrations, "oth"), std::nullopt);
  RemoveCalibration(calibrations, dell);
  EXPECT_EQ(calibrations, (TQorvelStrings{"junk", "other|300.5"}));
  EXPECT_EQ(CalibrationFor({"x|5", "x|5000"}, "x"), std::nullopt) << "beyond any screen";
  EXPECT_EQ(PixelsForLength(85.60, 96), 324);
}
