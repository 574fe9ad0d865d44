// [News] SingleClick as the view store reads it: the preferences write
// "YES"/"NO", older files "Y"/"N".
#include "core/IniFile.h"
#include "views/ViewStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(BulbClickSetting, YesInAnyCaseAndYAreTrue) {
  for (const char *value : {"Y", "y", "YES", "Yes", " yes "})
    EXPECT_TRUE(BulbSingleClickValue(value)) << value;
  for (const char *value : {"N", "NO", "no", "", "1", "TRUE"})
    EXPECT_FALSE(BulbSingleClickValue(value)) << value;
}

TEST(BulbClickSetting, LoadedViewsTakeTheWrittenMode) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("BOURSE.INI")).toStdString();
  std::ofstream(path) << "[News]\nSingleClick=NO\n";
  ResetViewStore();
  LoadColumnViews(TMyIniFile(path));
  EXPECT_FALSE(CurrentView.BulbSingleClick);

  std::ofstream(path) << "[News]\nSingleClick=YES\n";
  LoadColumnViews(TMyIniFile(path));
  EXPECT_TRUE(CurrentView.BulbSingleClick);

  std::ofstream(path) << "[Misc]\nStripes=YES\n";
  LoadColumnViews(TMyIniFile(path));
  EXPECT_TRUE(CurrentView.BulbSingleClick) << "a missing key counts as Y";

  ApplyBulbClickSetting(false);
  EXPECT_FALSE(CurrentView.BulbSingleClick);
  ResetViewStore();
}

} // namespace
