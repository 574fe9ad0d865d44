#pragma once
#include <string>

// Where GUI tests leave the PNGs they draw, and the shipped sample data.
inline std::string TestArtifactPath(const std::string& name) {
  return std::string(TV_TEST_ARTIFACTS_DIR) + "/" + name;
}
inline std::string TestDataPath(const std::string& name) {
  return std::string(TV_TEST_DATA_DIR) + "/" + name;
}
