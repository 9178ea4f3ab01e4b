// Where Qt runs on a real X display it talks to the session bus, whose library
// keeps a buffer for the life of the process. That is not ours to free. The
// leak checker asks the program itself, not the modules it loaded, so every
// program that may run the window compiles this in.

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TEXELO_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(TEXELO_LEAK_CHECKED)
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
#endif
