// GLib and GIO lock with futexes of their own, which the thread sanitizer cannot see: their
// threads (the session bus worker) seem to race with the callers. Our own code is still checked.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libglib-2.0.so\n"
         "race:libgio-2.0.so\n"
         "race:libgobject-2.0.so\n";
}
