#pragma once
// The "C" locale for number formatting and reading on the calling thread only, so that a file or list
// reads "1.234" whatever locale the desktop program took from the environment, without disturbing another
// thread's formatting.

namespace terrix {

// While it lives, printf-family formatting and strtod on this thread use the "C" locale.
class ThreadCLocale {
public:
    ThreadCLocale();
    ~ThreadCLocale();
    ThreadCLocale(const ThreadCLocale&) = delete;
    ThreadCLocale& operator=(const ThreadCLocale&) = delete;

private:
    void* previous_ = nullptr;
    // The Windows implementation's per-thread locale mode; the POSIX one needs only previous_.
    [[maybe_unused]] int mode_ = 0;
};

// strtod in the "C" locale, whatever locale this thread has.
double StrtodC(const char* text, char** end);

} // namespace terrix
