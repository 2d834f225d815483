// Preloaded into the sanitized end-to-end runs. Mesa unloads its software driver when the
// window closes, before the leak checker runs at exit; the blocks the driver keeps for the
// whole run then come from no library at all, and no suppression can name them. With
// unloading turned into a no-op the driver stays mapped, so its pointers still count and what
// remains is reported under the driver's name.
extern "C" int dlclose(void*) { return 0; }
