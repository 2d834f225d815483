// The audio library never frees the record of the thread that feeds its voice, even in
// al_uninstall_audio. The leak checker's fast unwinder sees only al_create_thread in that
// stack, so the suppression names it; the music player's own records are still checked.
extern "C" const char* __lsan_default_suppressions() { return "leak:al_create_thread\n"; }
