// SPDX-License-Identifier: MIT
// The menu window at twice the scale (the test runs with QT_SCALE_FACTOR=2).
#include <gtest/gtest.h>

#include "form1.h"
#include "form1_layout.h"
#include "test_support.h"
#include "twips.h"
#include "window_checks.h"

namespace {

TEST(ScaledMenu, ControlsKeepTheirPlacesAndPicturesStayCrisp) {
  testsupport::TempDir dir;
  const QString folder = QString::fromStdString(dir.path().string());
  lumadesk::Form1 form([folder] { return folder; }, QStringLiteral("127.0.0.1:9"));
  form.Form_Load();
  form.showAtStartPosition();
  EXPECT_EQ(form.Command9->geometry(), desk::TwipsRect(8700, 6000, 975, 975));
  EXPECT_EQ(form.WebBrowser1->geometry(), desk::TwipsRect(3360, 7200, 5055, 735));
  EXPECT_EQ(form.Label1->geometry(), desk::TwipsRect(-600, 5940, 1050, 1065));
  testsupport::ExpectCrispPictureButtons(&form);

  // The banner too is drawn at the screen's resolution, still 807 by 386 of the window's
  // own pixels.
  const QImage banner = form.grab(QRect(0, 0, 400, 380)).toImage();
  ASSERT_EQ(banner.size(), QSize(800, 760));
  EXPECT_LE(
      testsupport::DifferenceFromSource(banner, lumadesk::kBannerPicture,
                                        QSize(lumadesk::kBannerWidth, lumadesk::kBannerHeight) * 2),
      1);
}

}  // namespace
