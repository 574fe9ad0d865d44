#pragma once
#include <functional>
#include <string>
#include <vector>

// The properties an object streams besides its published ones. A reading
// filer calls read with the stored value when the stream holds the property;
// a writing filer calls write and stores the result when hasData is true.
class TChartFiler {
public:
  virtual ~TChartFiler() = default;

  virtual void DefineStrings(const std::string &name,
                             const std::function<void(const std::vector<std::string> &)> &read,
                             const std::function<std::vector<std::string>()> &write,
                             bool hasData) = 0;
  virtual void DefineString(const std::string &name,
                            const std::function<void(const std::string &)> &read,
                            const std::function<std::string()> &write, bool hasData) = 0;
  virtual void DefineInteger(const std::string &name, const std::function<void(int)> &read,
                             const std::function<int()> &write, bool hasData) = 0;
};
