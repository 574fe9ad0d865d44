// Price texts: any text is parsed without harm; a price shown and parsed
// again shows the same (decimal and fraction display), and the three parse
// routines agree.
#include "FuzzSupport.h"

#include "core/PriceText.h"

#include <algorithm>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const std::string where = "input: " + Shown(input);

  double value = 0;
  const bool ok = TryStrToPrice(input, value);
  FUZZ_CHECK(ParseFractionPrice(input) == !ok, where);
  FUZZ_CHECK(StrToPrice(input) == value, where);
  FUZZ_CHECK(std::isfinite(value) && (ok || value == 0), where);
  AlignPriceText(input, false);
  AlignPriceText(input, true);
  if (!ok)
    return 0;

  for (bool fractions : {false, true}) {
    const std::string shown = PriceToStr(value, fractions);
    double back = 0;
    FUZZ_CHECK(TryStrToPrice(shown, back), where + "\nshown " + Shown(shown));
    // In decimal display a shown price reads back as itself. With fractions a
    // price shown in decimals may land on a 64th; it is then shown as one from
    // there on.
    const std::string again = PriceToStr(back, fractions);
    if (fractions) {
      double third = 0;
      FUZZ_CHECK(TryStrToPrice(again, third) && PriceToStr(third, true) == again,
                 where + "\nshown " + Shown(shown) + " then " + Shown(again));
    } else {
      FUZZ_CHECK(again == shown, where + "\nshown " + Shown(shown) + " then " + Shown(again));
    }
    // Shown to 5, 3, 2 or 1 decimals (or 64ths): never further off than that.
    const double a = std::fabs(value);
    const double step = a < 10 ? 1e-5 : a < 1000 ? 1e-3 : a <= 10000 ? 1e-2 : 1e-1;
    // 64ths: a price within 5e-6 of one after rounding to 5 decimals.
    const double tolerance = fractions ? std::max(step, 1.1e-5) : step / 2;
    FUZZ_CHECK(std::fabs(back - value) <= tolerance + a * 1e-12,
               where + "\nshown " + Shown(shown));
  }
  return 0;
}
