#include "platform/SystemErrorText.h"

#include <clocale>
#include <cstring>
#include <locale.h>
#include <netdb.h>
#include <string.h>

namespace {

// The C locale as a locale object; made once and kept for the whole run.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
  return c;
}

// Runs fn with the C locale as this thread's locale (the others keep theirs).
template <class Fn> std::string InCLocale(Fn fn) {
  const locale_t c = CLocale();
  if (c == locale_t(0))
    return fn();
  const locale_t old = uselocale(c);
  std::string text = fn();
  uselocale(old);
  return text;
}

} // namespace

std::string SystemErrorText(int code) {
  const locale_t c = CLocale();
  const char *text = c != locale_t(0) ? strerror_l(code, c) : std::strerror(code);
  return text ? text : "";
}

std::string AddressErrorText(int code) {
  return InCLocale([code] { return std::string(gai_strerror(code)); });
}
