// Sanitizer settings built into every test executable of a sanitizer build,
// so that CTest, its test discovery and a test run by hand all use them (an
// ASAN_OPTIONS, UBSAN_OPTIONS or TSAN_OPTIONS given at run time still wins).
// tsan.supp names only Qt, GLib and system libraries.
extern "C" {

const char *__asan_default_options() {
  return "detect_leaks=1:check_initialization_order=1";
}

const char *__ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

const char *__tsan_default_options() {
  return "suppressions=" TV_SANITIZER_FILES "/tsan.supp:second_deadlock_stack=1";
}
}
