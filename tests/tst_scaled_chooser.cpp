// SPDX-License-Identifier: MIT
// The chooser window at twice the scale (the test runs with QT_SCALE_FACTOR=2).
#include <gtest/gtest.h>

#include "course_file.h"
#include "form1.h"
#include "test_support.h"
#include "twips.h"
#include "window_checks.h"

namespace {

TEST(ScaledChooser, ControlsKeepTheirPlacesAndPicturesStayCrisp) {
  testsupport::TempDir dir;
  ASSERT_TRUE(course::WriteCourseFile(dir.file("c1.dat"), course::RecordTable()).ok());
  const suite::FilePlaces places(dir.path().string(), dir.file("user"), true);
  pickwell::Form1 form([places] { return places; });
  form.setMessageCall([](QMessageBox::Icon, const QString&, const QString&) {});
  form.Form_Load();
  EXPECT_EQ(form.List1->geometry(), desk::TwipsRect(240, 2760, 3255, 3840));
  EXPECT_EQ(form.Command3->geometry(), desk::TwipsRect(2040, 6840, 975, 975));
  testsupport::ExpectCrispPictureButtons(&form);
}

}  // namespace
