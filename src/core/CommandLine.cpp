#include "core/CommandLine.h"

#include "core/Log.h"
#include "platform/AsciiText.h"
#include "platform/StringUtils.h"

#include <cctype>
#include <climits>

namespace {

CommandLineSwitches g_switches;

} // namespace

CommandLineSwitches ParseCommandLine(const std::vector<std::string> &args) {
  CommandLineSwitches sw;
  for (const std::string &raw : args) {
    std::string arg = UpperCase(raw);
    const std::size_t start = arg.find_first_not_of("-/");
    arg = start == std::string::npos ? std::string() : arg.substr(start);
    if (arg.rfind("LOG", 0) == 0) {
      sw.Log = true;
      long long level = 0;
      for (std::size_t i = 3; i < arg.size() && IsAsciiDigit(arg[i]); ++i) {
        level = level * 10 + (arg[i] - '0');
        if (level > INT_MAX)
          level = INT_MAX;
      }
      sw.LogLevel = int(level);
    } else if (arg == "ALLOWDUP") {
      sw.AllowDup = true;
    } else if (arg == "DEBUG") {
      sw.Debug = true;
    } else if (arg == "DEMO") {
      sw.Demo = true;
    } else if (arg == "KA") {
      sw.KeepAlive = true;
    } else if (arg == "PROPHET") {
      sw.Prophet = true;
    }
  }
  return sw;
}

CommandLineSwitches ParseCommandLine(int argc, char **argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    if (argv[i])
      args.emplace_back(argv[i]);
  return ParseCommandLine(args);
}

const CommandLineSwitches &CommandLine() { return g_switches; }

void ApplyCommandLine(const CommandLineSwitches &switches) {
  g_switches = switches;
  if (switches.Log)
    StartLogging(switches.LogLevel);
}
