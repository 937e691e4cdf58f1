// Reports the sanitizers cannot judge correctly, built into every UI test program.

extern "C" {

// Pango matches fonts with fontconfig on a GLib worker thread ("[pango] FcFontSetMatch") and waits
// for it with GLib's own futex-based locks, which the thread checker does not see; it then reports
// the hand-over of the match result as a race.
const char* __tsan_default_suppressions() {
  return "race:libpangoft2-1.0.so\n"
         "race:libfontconfig.so\n";
}

}  // extern "C"
