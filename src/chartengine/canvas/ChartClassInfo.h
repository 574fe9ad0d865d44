#pragma once
#include <string>

// The identity of a series or series-function class, standing for a class
// reference: each class keeps one static instance and hands out its address.
// Derived infos may add a factory; the registry only needs the identity and
// the name.
class TChartClassInfo {
public:
  explicit TChartClassInfo(std::string className) : m_className(std::move(className)) {}
  TChartClassInfo(const TChartClassInfo &) = delete;
  TChartClassInfo &operator=(const TChartClassInfo &) = delete;
  virtual ~TChartClassInfo() = default;

  const std::string &ClassName() const { return m_className; }

private:
  std::string m_className;
};

using TChartClassRef = const TChartClassInfo *;

// The streaming registry: classes that form descriptions may name. Registering
// a class twice keeps one entry; a different class with a taken name replaces
// nothing and is ignored.
void RegisterChartClass(TChartClassRef cls);
// The registered class of that name (exact match), or nullptr.
TChartClassRef FindChartClass(const std::string &className);
// Empties the streaming registry (end of the program, test fixtures).
void ClearChartClasses();
